// Linux file operations of the extraction driver.

#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/error.h"
#include "platform/os_error.h"
#include "platform/posix/handle.h"
#include "platform/posix/home_folder.h"
#include "platform/posix/native_path.h"

namespace hv::platform {
namespace {

std::filesystem::path Resolved(const std::string& core) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(NativePath(core), ec);
  if (ec) return std::filesystem::path(NativePath(core)).lexically_normal();
  std::filesystem::path canonical = std::filesystem::weakly_canonical(p, ec);
  return (ec ? p : canonical).lexically_normal();
}

std::string WithoutTrailingSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

void CopyFileReplacing(const std::string& from, const std::string& to) {
  const UniqueFd in(::open(NativePath(from).c_str(), O_RDONLY | O_CLOEXEC));
  if (!in) ThrowOsError(errno);
  struct stat st {};
  if (::fstat(in.get(), &st) != 0) ThrowOsError(errno);
  if (S_ISDIR(st.st_mode)) throw Error(vberr::kPathFileAccess);
  UniqueFd out(::open(NativePath(to).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!out) ThrowOsError(errno, FileRole::kTarget);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowOsError(errno);
    }
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(out.get(), buffer + done, static_cast<std::size_t>(got - done));
      if (put < 0) {
        if (errno == EINTR) continue;
        const int err = errno;
        ::unlink(NativePath(to).c_str());  // never leave a truncated copy
        ThrowOsError(err, FileRole::kTarget);
      }
      done += put;
    }
  }
  if (::close(out.release()) != 0) {
    const int err = errno;
    ::unlink(NativePath(to).c_str());
    ThrowOsError(err, FileRole::kTarget);
  }
}

void MakeFolder(const std::string& path) {
  if (::mkdir(NativePath(path).c_str(), 0777) == 0) return;
  if (errno == EEXIST) throw Error(vberr::kPathFileAccess);
  ThrowOsError(errno, FileRole::kTarget);
}

void RenameFile(const std::string& from, const std::string& to) {
  const std::string native_from = NativePath(from), native_to = NativePath(to);
  struct stat st {};
  if (::lstat(native_from.c_str(), &st) != 0) ThrowOsError(errno);
  // rename() would silently replace the target; moving onto an existing name is an error.
  if (::renameat2(AT_FDCWD, native_from.c_str(), AT_FDCWD, native_to.c_str(), RENAME_NOREPLACE) ==
      0) {
    return;
  }
  if (errno == EEXIST) throw Error(vberr::kFileAlreadyExists);
  if (errno == EINVAL || errno == ENOSYS) {
    // File systems without the no-replace flag: check, then rename.
    if (::lstat(native_to.c_str(), &st) == 0) throw Error(vberr::kFileAlreadyExists);
    if (::rename(native_from.c_str(), native_to.c_str()) == 0) return;
  }
  ThrowOsError(errno, FileRole::kTarget);
}

std::uint64_t FileLength(const std::string& path) {
  struct stat st {};
  if (::stat(NativePath(path).c_str(), &st) != 0) ThrowOsError(errno);
  return S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(NativePath(path), ec);
  return CorePath((ec ? std::filesystem::path(NativePath(path)) : p).lexically_normal().string());
}

std::string ProtectedFolderReason(const std::string& folder) {
  if (folder.empty()) return "no working folder was given";
  const std::string resolved = WithoutTrailingSlash(Resolved(folder).string());
  if (resolved == "/") return "it is the root of the file system";
  if (const std::string home = HomeFolder(); !home.empty()) {
    const std::string core_home = CorePath(home);
    if (resolved == WithoutTrailingSlash(Resolved(core_home).string())) {
      return "it is the user's home folder";
    }
    if (PathIsWithin(core_home, folder)) return "it holds the user's home folder";
  }
  return {};
}

void HideFile(const std::string&) {}

bool PathIsWithin(const std::string& path, const std::string& folder) {
  const std::string p = WithoutTrailingSlash(Resolved(path).string());
  const std::string f = WithoutTrailingSlash(Resolved(folder).string());
  if (p == f) return true;
  const std::string prefix = f == "/" ? f : f + "/";
  return p.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace hv::platform
