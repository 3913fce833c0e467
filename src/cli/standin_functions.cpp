#include "cli/standin_functions.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "common/error.h"
#include "common/path.h"
#include "common/text.h"
#include "halvane/shell/command_line.h"

namespace hv::cli {

namespace {

namespace fs = std::filesystem;

fs::path Native(const std::string& core) {
  return fs::path(Cp1252ToUtf8(core));
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec) && !fs::is_directory(p, ec);
}

// A bare name is looked for in the current folder, then along the PATH.
bool FindFile(const std::string& name) {
  if (name.find(kPathSeparator) != std::string::npos) return IsFile(Native(name));
  if (IsFile(Native(name))) return true;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  std::size_t start = 0;
  while (start < dirs.size()) {
#ifdef _WIN32
    std::size_t end = dirs.find(';', start);
#else
    std::size_t end = dirs.find(':', start);
#endif
    if (end == std::string::npos) end = dirs.size();
    if (end > start && IsFile(fs::path(dirs.substr(start, end - start)) / Native(name))) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

// Lines end at CR or CR LF; a lone LF is part of a line.
std::vector<std::string> ReadLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool any = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    any = true;
    if (bytes[i] == '\r') {
      lines.push_back(line);
      line.clear();
      any = false;
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += bytes[i];
    }
  }
  if (any) lines.push_back(line);
  lines.emplace_back();  // the extra empty line a key may still match
  return lines;
}

class StandinFunctions : public halvane::LauncherFunctions {
 public:
  void GetFileAndPath(const std::string& in, std::string& path, std::string& file) override {
    const std::size_t at = in.rfind(kPathSeparator);
    if (at == std::string::npos) {
      path.clear();
      file = in;
      return;
    }
    path = in.substr(0, at);
    file = in.substr(at + 1);
  }

  std::string Long2Short(const std::string& s) override {
    return !s.empty() && Exists(Native(s)) ? s : "";
  }

  bool FileExists(const std::string& name, bool display, const std::string& caption) override {
    if (name.empty()) {
      if (display) Tell(caption, "FILE NOT FOUND: NO FILENAME PASSED!");
      return false;
    }
    if (FindFile(name)) return true;
    if (display) Tell(caption, "FILE NOT FOUND: " + name);
    return false;
  }

  bool DirExists(const std::string& dir) override {
    std::error_code ec;
    if (dir.empty()) return false;
    fs::current_path(Native(dir), ec);
    return !ec;
  }

  bool DriveTypeIsCDRom(const std::string& root) override { return !Exists(Native(root)); }

  void ChangeConfigFile(const std::string& file, const halvane::ConfigEntries& entries) override {
    const fs::path target = Native(file);
    std::ifstream in(target, std::ios::binary);
    if (!in) throw Error(IsFile(target) ? vberr::kPermissionDenied : vberr::kFileNotFound);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    if (entries.empty()) throw Error(vberr::kSubscriptOutOfRange);

    std::vector<std::string> lines = ReadLines(bytes);
    for (const auto& [key, value] : entries) {
      const std::string upper_key = halvane::AnsiUpper(key);
      for (std::string& line : lines) {
        if (halvane::AnsiUpper(line.substr(0, upper_key.size())) == upper_key) {
          line = key + "=" + value;
          break;
        }
      }
    }

    // Written beside the file and renamed over it, so a failed write leaves it whole.
    fs::path temp = target;
    temp += ".hvtmp";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      if (!out) throw Error(vberr::kPathFileAccess);
      for (const std::string& line : lines) {
        if (!line.empty()) out << line << "\r\n";
      }
      if (!out.flush()) {
        out.close();
        std::error_code ec;
        fs::remove(temp, ec);
        throw Error(vberr::kPathFileAccess);
      }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
      fs::remove(temp, ec);
      throw Error(vberr::kPathFileAccess);
    }
  }

 private:
  static void Tell(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", Cp1252ToUtf8(caption).c_str(), Cp1252ToUtf8(text).c_str());
  }
};

}  // namespace

std::unique_ptr<halvane::LauncherFunctions> MakeStandinFunctions() {
  return std::make_unique<StandinFunctions>();
}

}  // namespace hv::cli
