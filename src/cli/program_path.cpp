#include "cli/program_path.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace hv::cli {
namespace {

#ifdef _WIN32
constexpr char kListSeparator = ';';
const std::vector<std::string> kSuffixes = {"", ".exe"};
#else
constexpr char kListSeparator = ':';
const std::vector<std::string> kSuffixes = {""};
#endif

bool IsProgram(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (ec || !fs::is_regular_file(st)) return false;
#ifndef _WIN32
  constexpr fs::perms kAnyExec =
      fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  if ((st.permissions() & kAnyExec) == fs::perms::none) return false;
#endif
  return true;
}

}  // namespace

std::string ProgramOnPath(const std::string& name) {
  if (name.empty() || name.find_first_of("/\\") != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  const std::string folders = path;
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(kListSeparator, start);
    if (end == std::string::npos) end = folders.size();
    const std::filesystem::path folder = folders.substr(start, end - start);
    // A relative entry would find whatever lies in the current folder.
    if (folder.is_absolute()) {
      for (const std::string& suffix : kSuffixes) {
        const auto candidate = folder / (name + suffix);
        if (IsProgram(candidate)) return candidate.string();
      }
    }
    start = end + 1;
  }
  return {};
}

}  // namespace hv::cli
