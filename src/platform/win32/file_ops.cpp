// Windows file operations of the extraction driver, through the ANSI entry points.

#include "platform/file_ops.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/error.h"
#include "platform/os_error.h"

namespace hv::platform {
namespace {

// The absolute path without trailing separators, but for a root's own.
std::string FullPath(const std::string& path) {
  std::string full = AbsolutePath(path);
  while (full.size() > 3 && (full.back() == '\\' || full.back() == '/')) full.pop_back();
  return full;
}

std::string Folded(std::string s) {
  for (char& c : s) {
    if (c == '/') c = '\\';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return s;
}

// "C:\" or "C:", "\\server\share" (and its trailing backslash).
bool IsRoot(const std::string& full) {
  const std::string f = Folded(full);
  if (f.size() <= 3 && f.size() >= 2 && f[1] == ':') return true;
  if (f.rfind("\\\\", 0) == 0) {
    std::size_t parts = 0;
    std::size_t i = 2;
    while (i < f.size()) {
      const std::size_t next = f.find('\\', i);
      if (next != i) ++parts;
      if (next == std::string::npos) break;
      i = next + 1;
    }
    return parts <= 2;
  }
  return f == "\\";
}

}  // namespace

void CopyFileReplacing(const std::string& from, const std::string& to) {
  if (::GetFileAttributesA(from.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ThrowOsError(::GetLastError());
  }
  if (!::CopyFileA(from.c_str(), to.c_str(), FALSE))
    ThrowOsError(::GetLastError(), FileRole::kTarget);
}

void MakeFolder(const std::string& path) {
  if (::CreateDirectoryA(path.c_str(), nullptr)) return;
  const DWORD err = ::GetLastError();
  if (err == ERROR_ALREADY_EXISTS) throw Error(vberr::kPathFileAccess);
  ThrowOsError(err, FileRole::kTarget);
}

void RenameFile(const std::string& from, const std::string& to) {
  if (::MoveFileA(from.c_str(), to.c_str())) return;
  ThrowOsError(::GetLastError());
}

std::uint64_t FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    ThrowOsError(::GetLastError());
  }
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string AbsolutePath(const std::string& path) {
  const DWORD need = ::GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (need == 0) return path;
  std::vector<char> buffer(need + 1);
  const DWORD got = ::GetFullPathNameA(path.c_str(), need + 1, buffer.data(), nullptr);
  if (got == 0 || got > need) return path;
  return std::string(buffer.data(), got);
}

std::string ProtectedFolderReason(const std::string& folder) {
  if (folder.empty()) return "no working folder was given";
  // "C:" alone names the drive's current folder, which a delete would take with it.
  if (IsRoot(folder)) return "it names a drive or its root";
  const std::string full = FullPath(folder);
  if (IsRoot(full)) return "it is the root of a drive";
  struct Guarded {
    std::string path;
    const char* what;
  };
  std::vector<Guarded> guarded;
  for (const char* var : {"USERPROFILE", "ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
    const char* value = std::getenv(var);
    if (value && *value) {
      guarded.push_back(
          {value, var[0] == 'U' ? "the user's home folder" : "a Program Files folder"});
    }
  }
  if (char windows[MAX_PATH + 1]; ::GetWindowsDirectoryA(windows, sizeof windows) > 0) {
    guarded.push_back({windows, "the Windows folder"});
  }
  for (const Guarded& g : guarded) {
    if (Folded(FullPath(g.path)) == Folded(full)) return std::string("it is ") + g.what;
    if (PathIsWithin(g.path, full)) return std::string("it holds ") + g.what;
  }
  return {};
}

void HideFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) ThrowOsError(::GetLastError());
  if (!::SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN)) {
    ThrowOsError(::GetLastError());
  }
}

bool PathIsWithin(const std::string& path, const std::string& folder) {
  const std::string p = Folded(FullPath(path));
  std::string f = Folded(FullPath(folder));
  if (p == f) return true;
  if (f.empty() || f.back() != '\\') f += '\\';
  return p.compare(0, f.size(), f) == 0;
}

}  // namespace hv::platform
