#include "platform/posix/home_folder.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>

#ifndef HV_STATIC_CLI
#include <pwd.h>
#endif

namespace hv::platform {

namespace {

// name:password:uid:gid:gecos:home:shell
constexpr int kUidField = 2;
constexpr int kHomeField = 5;

// Field `index` of a line, or nothing when the line has fewer fields.
std::optional<std::string_view> Field(std::string_view line, int index) {
  for (int i = 0; i < index; ++i) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    line.remove_prefix(colon + 1);
  }
  return line.substr(0, line.find(':'));
}

std::string PasswordEntryHome() {
#ifdef HV_STATIC_CLI
  // A static glibc reaches the name services only by loading modules of the glibc it was
  // built with, which another machine may not have: a statically linked hv reads the file.
  return PasswdFileHome("/etc/passwd", ::getuid());
#else
  const passwd* pw = ::getpwuid(::getuid());
  return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
#endif
}

}  // namespace

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  return PasswordEntryHome();
}

std::string PasswdFileHome(const std::string& passwd_file, uid_t uid) {
  std::ifstream in(passwd_file);
  std::string line;
  while (std::getline(in, line)) {
    const auto id = Field(line, kUidField);
    const auto home = Field(line, kHomeField);
    if (!id || !home) continue;
    uid_t value = 0;
    const auto [end, ec] = std::from_chars(id->data(), id->data() + id->size(), value);
    if (ec == std::errc() && end == id->data() + id->size() && value == uid) {
      return std::string(*home);
    }
  }
  return {};
}

}  // namespace hv::platform
