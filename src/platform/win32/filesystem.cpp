// The Windows services of the general functions, through their ANSI entry points (core text
// is Windows-1252, the ANSI code page the callers use).

#include "platform/filesystem.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <vector>

#include "common/error.h"
#include "common/scope_exit.h"
#include "platform/binary_file.h"
#include "platform/os_error.h"
#include "platform/win32/handle.h"

namespace hv::platform {
namespace {

// OFSTRUCT holds at most this many characters of path; longer names are probed otherwise.
constexpr std::size_t kOpenFileMaxPath = OFS_MAXPATHNAME;

// The OpenFile answer for a path too long for its record, from the attributes instead.
int ProbeByAttributes(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_FILE_NOT_FOUND) return probe::kFileNotFound;
    if (err == ERROR_PATH_NOT_FOUND || err == ERROR_BAD_NETPATH || err == ERROR_INVALID_DRIVE) {
      return probe::kPathNotFound;
    }
    return static_cast<int>(err);
  }
  return (a & FILE_ATTRIBUTE_DIRECTORY) ? probe::kAccessDenied : probe::kFound;
}

// SearchPathA with the buffer grown to what it reports.
std::string SearchPathGrowing(const char* dir, const std::string& file) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::SearchPathA(dir, file.c_str(), nullptr, static_cast<DWORD>(buffer.size()),
                                  buffer.data(), nullptr);
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);
  }
}

}  // namespace

std::string ShortPathName(const std::string& path) {
  if (path.empty()) return {};
  std::vector<char> buffer(256);
  for (;;) {
    const DWORD n =
        ::GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    // Too small a buffer makes the call report the size it needs, NUL included.
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n);
  }
}

int ProbeFile(const std::string& name) {
  if (name.size() >= kOpenFileMaxPath) {
    if (name.find('\\') != std::string::npos || name.find(':') != std::string::npos) {
      return ProbeByAttributes(name);
    }
    // A bare name: the search order of OpenFile ends with the PATH, as SearchPath's does.
    const std::string found = SearchPathGrowing(nullptr, name);
    return found.empty() ? probe::kFileNotFound : ProbeByAttributes(found);
  }
  OFSTRUCT of{};
  of.cBytes = sizeof(of);
  ::OpenFile(name.c_str(), &of, OF_EXIST);
  return of.nErrCode;
}

void DeleteTreeSilent(const std::string& path) {
  if (path.empty()) return;
  std::string from = path;
  from.push_back('\0');  // the list ends with a double NUL; c_str() adds the second
  SHFILEOPSTRUCTA op{};
  op.hwnd = nullptr;
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.pTo = nullptr;
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  ::SHFileOperationA(&op);
}

bool SetCurrentDir(const std::string& path) {
  return !path.empty() && ::SetCurrentDirectoryA(path.c_str()) != 0;
}

std::string CurrentDir() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n);
  }
}

int DriveType(const std::string& root) {
  return static_cast<int>(::GetDriveTypeA(root.c_str()));
}

std::string VolumeRootOf(const std::string& path) {
  return path.substr(0, 2);
}

std::string VolumeLabel(const std::string& root) {
  constexpr DWORD kSize = 128;
  std::string volume(kSize, ' ');
  std::string file_system(kSize, ' ');
  DWORD serial = 0, max_component = 0, flags = 0;
  ::GetVolumeInformationA(root.c_str(), volume.data(), kSize, &serial, &max_component, &flags,
                          file_system.data(), kSize);
  // A failed query leaves the buffer as it was.
  if (volume == std::string(kSize, ' ')) return {};
  return volume.substr(0, volume.find('\0'));
}

std::uint32_t FileAttributes(const std::string& path) {
  return ::GetFileAttributesA(path.c_str());
}

std::optional<FolderIdentity> TryFolderIdentity(const std::string& path) {
  if (path.empty()) return std::nullopt;
  // No access asked for, only the handle: a folder opens with backup semantics, and a link
  // or junction is followed to what it names.
  const win32::UniqueFile handle(
      ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle || !::GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  return FolderIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::string SearchPathIn(const std::string& dir, const std::string& file) {
  if (file.empty()) return {};
  return SearchPathGrowing(dir.c_str(), file);
}

struct FindEnumeration::Impl {
  win32::UniqueFind handle;
  WIN32_FIND_DATAA first{};
  bool first_pending = false;
};

FindEnumeration::FindEnumeration(const std::string& search, Detail)
    : impl_(std::make_unique<Impl>()) {
  impl_->handle.reset(::FindFirstFileA(search.c_str(), &impl_->first));
  impl_->first_pending = static_cast<bool>(impl_->handle);
}

FindEnumeration::~FindEnumeration() = default;
FindEnumeration::FindEnumeration(FindEnumeration&&) noexcept = default;
FindEnumeration& FindEnumeration::operator=(FindEnumeration&&) noexcept = default;

bool FindEnumeration::valid() const noexcept {
  return impl_ && impl_->handle;
}

bool FindEnumeration::Next(FindData& out) {
  if (!valid()) return false;
  WIN32_FIND_DATAA data{};
  if (impl_->first_pending) {
    data = impl_->first;
    impl_->first_pending = false;
  } else if (!::FindNextFileA(impl_->handle.get(), &data)) {
    return false;
  }
  out.attributes = data.dwFileAttributes;
  out.size_high = data.nFileSizeHigh;
  out.size_low = data.nFileSizeLow;
  out.name.assign(data.cFileName, sizeof(data.cFileName));
  out.kind_known = false;  // the callers ask GetFileAttributesA themselves
  return true;
}

void FindEnumeration::Close() noexcept {
  impl_.reset();
}

SearchListing ListForSearch(const std::string& folder, const std::string& pattern) {
  return ListForSearchByEnumeration(folder, pattern);
}

void ReplaceFileContent(const std::string& path, std::string_view bytes) {
  if (path.empty()) throw Error(vberr::kBadFileName);
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) ThrowOsError(::GetLastError());
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    throw Error(vberr::kPathFileAccess);
  }
  {
    // Opening for writing, without truncating, tells whether the medium and the ACL allow it.
    win32::UniqueFile probe(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) ThrowOsError(::GetLastError());
  }
  const std::size_t slash = path.rfind('\\');
  const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  char temp[MAX_PATH + 1] = {};
  if (::GetTempFileNameA(dir.c_str(), "hv", 0, temp) == 0) ThrowOsError(::GetLastError());
  ScopeExit remove_temp([&] { ::DeleteFileA(temp); });
  {
    win32::UniqueFile out(::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) ThrowOsError(::GetLastError());
    for (std::size_t done = 0; done < bytes.size();) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
      DWORD written = 0;
      if (!::WriteFile(out.get(), bytes.data() + done, chunk, &written, nullptr)) {
        ThrowOsError(::GetLastError());
      }
      done += written;
    }
    if (!::FlushFileBuffers(out.get())) ThrowOsError(::GetLastError());
  }
  // ReplaceFile, not a move: the file keeps what it was besides its bytes (hidden and system
  // attributes, its security descriptor, its creation time and short name).
  if (!::ReplaceFileA(path.c_str(), temp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr)) {
    ThrowOsError(::GetLastError());
  }
  remove_temp.release();
  // Wine's ReplaceFile drops the attributes; setting them again costs Windows nothing. The
  // bytes are in place by now, so a failure here is no reason to report the write failed.
  constexpr DWORD kSettable = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (::GetFileAttributesA(path.c_str()) != attributes && (attributes & kSettable) != 0) {
    ::SetFileAttributesA(path.c_str(), attributes & kSettable);
  }
}

void WriteFileAt(const std::string& path, std::uint64_t offset,
                 std::span<const std::uint8_t> bytes) {
  if (path.empty()) throw Error(vberr::kBadFileName);
  win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowOsError(::GetLastError());
  for (std::size_t done = 0; done < bytes.size();) {
    OVERLAPPED ov{};
    const std::uint64_t at = offset + done;
    ov.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
    ov.OffsetHigh = static_cast<DWORD>(at >> 32);
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                     &written, &ov)) {
      ThrowOsError(::GetLastError());
    }
    done += written;
  }
}

}  // namespace hv::platform
