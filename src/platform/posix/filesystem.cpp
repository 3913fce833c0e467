// Linux stand-ins for the Windows file-system services of the general functions.

#include "platform/filesystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "common/error.h"
#include "common/path_split.h"
#include "common/scope_exit.h"
#include "common/wildcard.h"
#include "platform/binary_file.h"
#include "platform/os_error.h"
#include "platform/path_separator.h"
#include "platform/posix/handle.h"
#include "platform/posix/native_path.h"

namespace hv::platform {
namespace {

// File-system magic numbers (statfs f_type).
constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;
constexpr long kNfsMagic = 0x6969;
constexpr long kSmbMagic = 0x517B;
constexpr long kCifsMagic = static_cast<long>(0xFF534D42u);
constexpr long kSmb2Magic = static_cast<long>(0xFE534D42u);

// A path without its trailing slashes ("/" stays "/").
std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string ParentOf(const std::string& native) {
  const std::size_t p = native.rfind('/');
  if (p == std::string::npos) return ".";
  if (p == 0) return "/";
  return native.substr(0, p);
}

bool IsOwnerReadOnly(const struct stat& st) {
  return (st.st_mode & S_IWUSR) == 0;
}

std::uint32_t AttributesOf(const struct stat& st, std::string_view name, bool is_link) {
  std::uint32_t a = 0;
  if (S_ISDIR(st.st_mode)) a |= attr::kDirectory;
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") a |= attr::kHidden;
  if (IsOwnerReadOnly(st)) a |= attr::kReadOnly;
  if (is_link) a |= attr::kReparsePoint;
  return a == 0 ? attr::kNormal : a;
}

// One existence probe of a native path, with OpenFile's codes.
int ProbeNative(const std::string& native) {
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) {
    const int err = errno;
    if (err == ENOTDIR) return probe::kPathNotFound;
    if (err == ENOENT) {
      struct stat parent {};
      return ::stat(ParentOf(native).c_str(), &parent) == 0 ? probe::kFileNotFound
                                                            : probe::kPathNotFound;
    }
    if (err == EACCES || err == EPERM) return probe::kAccessDenied;
    return err;
  }
  // A directory cannot be opened as a file, and neither can an unreadable file.
  if (S_ISDIR(st.st_mode) || ::access(native.c_str(), R_OK) != 0) return probe::kAccessDenied;
  return probe::kFound;
}

}  // namespace

std::string ShortPathName(const std::string& path) {
  if (path.empty()) return {};
  struct stat st {};
  return ::stat(NativePath(path).c_str(), &st) == 0 ? path : std::string();
}

int ProbeFile(const std::string& name) {
  if (name.find(kPathSeparator) != std::string::npos) return ProbeNative(NativePath(name));
  const std::string native = NativePath(name);
  const int here = ProbeNative(native);
  if (here == probe::kFound) return here;
  const char* path_env = std::getenv("PATH");
  std::string_view rest = path_env ? path_env : "";
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view dir = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    if (dir.empty()) continue;  // the current directory was asked first
    if (ProbeNative(std::string(dir) + '/' + native) == probe::kFound) return probe::kFound;
  }
  return here;
}

void DeleteTreeSilent(const std::string& path) {
  if (path.empty()) return;
  std::error_code ignored;
  // Wildcards in the last part name every match in its folder, as the Windows shell's delete
  // takes them ("W/*" empties W and keeps it); links are removed, never followed.
  const std::string last = path.substr(path.rfind(kPathSeparator) + 1);
  if (last.find_first_of("*?") == std::string::npos) {
    std::filesystem::remove_all(NativePath(path), ignored);
    return;
  }
  const std::string folder = path.substr(0, path.size() - last.size());
  std::vector<std::string> matches;
  FindEnumeration found(path, FindEnumeration::Detail::kNamesOnly);
  for (FindData data; found.Next(data);) {
    if (data.name != "." && data.name != "..") matches.push_back(folder + data.name);
  }
  found.Close();
  for (const std::string& match : matches) std::filesystem::remove_all(NativePath(match), ignored);
}

bool SetCurrentDir(const std::string& path) {
  return !path.empty() && ::chdir(NativePath(path).c_str()) == 0;
}

std::string CurrentDir() {
  std::error_code ec;
  const auto p = std::filesystem::current_path(ec);
  return ec ? std::string() : CorePath(p.string());
}

int DriveType(const std::string& root) {
  const std::string native = StripTrailingSlashes(NativePath(root));
  if (native.empty()) return drive::kInvalidRoot;
  struct statfs fs {};
  if (::statfs(native.c_str(), &fs) != 0) return drive::kInvalidRoot;
  const long type = static_cast<long>(fs.f_type);
  if (type == kIso9660Magic || type == kUdfMagic) return drive::kCdRom;
  if (type == kNfsMagic || type == kSmbMagic || type == kCifsMagic || type == kSmb2Magic) {
    return drive::kRemote;
  }
  return drive::kFixed;
}

std::string VolumeRootOf(const std::string& path) {
  return path;
}

std::string VolumeLabel(const std::string& root) {
  const std::string native = StripTrailingSlashes(NativePath(root));
  struct stat st {};
  if (native.empty() || ::stat(native.c_str(), &st) != 0) return {};
  // udev names each labelled block device in /dev/disk/by-label, with \xNN escapes.
  std::error_code ec;
  for (std::filesystem::directory_iterator it("/dev/disk/by-label", ec), end; !ec && it != end;
       it.increment(ec)) {
    struct stat dev {};
    if (::stat(it->path().c_str(), &dev) != 0 || !S_ISBLK(dev.st_mode)) continue;
    if (dev.st_rdev != st.st_dev) continue;
    const std::string escaped = it->path().filename().string();
    std::string label;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
      if (escaped[i] == '\\' && i + 3 < escaped.size() && escaped[i + 1] == 'x') {
        label.push_back(
            static_cast<char>(std::strtol(escaped.substr(i + 2, 2).c_str(), nullptr, 16)));
        i += 3;
      } else {
        label.push_back(escaped[i]);
      }
    }
    return CorePath(label);
  }
  return {};
}

std::uint32_t FileAttributes(const std::string& path) {
  const std::string native = NativePath(path);
  struct stat st {};
  if (native.empty() || ::lstat(native.c_str(), &st) != 0) return attr::kInvalid;
  const bool is_link = S_ISLNK(st.st_mode);
  if (is_link && ::stat(native.c_str(), &st) != 0) return attr::kInvalid;
  const std::string stripped = StripTrailingSlashes(native);
  const std::size_t slash = stripped.rfind('/');
  const std::string_view name = slash == std::string::npos
                                    ? std::string_view(stripped)
                                    : std::string_view(stripped).substr(slash + 1);
  return AttributesOf(st, name, is_link);
}

std::optional<FolderIdentity> TryFolderIdentity(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(NativePath(path).c_str(), &st) != 0) return std::nullopt;
  return FolderIdentity{static_cast<std::uint64_t>(st.st_dev),
                        static_cast<std::uint64_t>(st.st_ino)};
}

std::string SearchPathIn(const std::string& dir_text, const std::string& file_text) {
  // Both end at a NUL, as the system reads them.
  const std::string dir = dir_text.substr(0, dir_text.find('\0'));
  const std::string file = file_text.substr(0, file_text.find('\0'));
  if (file.empty()) return {};
  std::string full = dir.empty() ? file : WithTrailingSeparator(dir, kPathSeparator) + file;
  struct stat st {};
  if (::stat(NativePath(full).c_str(), &st) != 0) return {};
  if (full[0] != kPathSeparator) full = WithTrailingSeparator(CurrentDir(), kPathSeparator) + full;
  return full;
}

namespace {

// A directory stream opened for the search "DIR/PATTERN".
struct OpenSearch {
  UniqueDir dir;
  std::string pattern;  // in the core's encoding, as names are matched
  explicit OpenSearch(const std::string& search) {
    const std::string native = NativePath(search);
    const std::size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos
                                   ? std::string(".")
                                   : (slash == 0 ? std::string("/") : native.substr(0, slash));
    pattern = CorePath(slash == std::string::npos ? native : native.substr(slash + 1));
    if (pattern.empty()) return;  // nothing can match an empty name
    dir.reset(::opendir(folder.c_str()));
  }
  bool MatchesAll() const { return pattern == "*" || pattern == "*.*"; }
  bool Matches(const std::string& name) const {
    return MatchesAll() || WildcardMatch(pattern, name);
  }
};

// An entry's name in the core's encoding (most names are ASCII, which needs no conversion).
std::string EntryName(const dirent& entry) {
  const std::string_view raw = entry.d_name;
  bool ascii = true;
  for (const char c : raw) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  return ascii ? std::string(raw) : CorePath(std::string(raw));
}

// The listing's own type spares a stat per entry where the file system reports it.
void FillKind(const dirent& entry, std::string name, FindData& out) {
  out.kind_known = entry.d_type != DT_UNKNOWN;
  out.attributes = entry.d_type == DT_DIR   ? attr::kDirectory
                   : entry.d_type == DT_LNK ? attr::kReparsePoint
                                            : 0;
  out.size_high = out.size_low = 0;
  out.name = std::move(name);
}

// Attributes and size from the entry itself; false when it vanished since it was listed.
bool FillDetails(DIR* dir, const dirent& entry, std::string name, FindData& out) {
  struct stat st {};
  const int dfd = ::dirfd(dir);
  const bool is_link = entry.d_type == DT_LNK;
  if (::fstatat(dfd, entry.d_name, &st, 0) != 0 &&
      ::fstatat(dfd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
    return false;
  }
  out.attributes = AttributesOf(st, name, is_link);
  out.kind_known = false;
  const auto size = S_ISDIR(st.st_mode) ? std::uint64_t{0} : static_cast<std::uint64_t>(st.st_size);
  out.size_high = static_cast<std::uint32_t>(size >> 32);
  out.size_low = static_cast<std::uint32_t>(size & 0xFFFFFFFFu);
  out.name = std::move(name);
  return true;
}

}  // namespace

struct FindEnumeration::Impl {
  explicit Impl(const std::string& search_path) : search(search_path) {}
  OpenSearch search;
  bool names_only = false;
};

FindEnumeration::FindEnumeration(const std::string& search, Detail detail)
    : impl_(std::make_unique<Impl>(search)) {
  impl_->names_only = detail == Detail::kNamesOnly;
}

FindEnumeration::~FindEnumeration() = default;
FindEnumeration::FindEnumeration(FindEnumeration&&) noexcept = default;
FindEnumeration& FindEnumeration::operator=(FindEnumeration&&) noexcept = default;

bool FindEnumeration::valid() const noexcept {
  return impl_ && impl_->search.dir;
}

bool FindEnumeration::Next(FindData& out) {
  if (!valid()) return false;
  while (const dirent* entry = ::readdir(impl_->search.dir.get())) {
    std::string name = EntryName(*entry);
    if (!impl_->search.Matches(name)) continue;
    if (impl_->names_only) {
      FillKind(*entry, std::move(name), out);
      return true;
    }
    if (FillDetails(impl_->search.dir.get(), *entry, std::move(name), out)) return true;
  }
  return false;
}

SearchListing ListForSearch(const std::string& folder, const std::string& pattern) {
  // A pattern reaching into another folder lists that folder: two enumerations, as on Windows.
  if (pattern.find(kPathSeparator) != std::string::npos) {
    return ListForSearchByEnumeration(folder, pattern);
  }
  // One pass over the folder serves both lists: reading a directory costs more than matching.
  SearchListing listing;
  OpenSearch search(folder + pattern);
  if (!search.dir) {
    // Nothing matches, but the folder itself may still be listed.
    return ListForSearchByEnumeration(folder, pattern);
  }
  while (const dirent* entry = ::readdir(search.dir.get())) {
    std::string name = EntryName(*entry);
    const bool match = search.Matches(name);
    FillKind(*entry, name, listing.entries.emplace_back());
    if (match &&
        !FillDetails(search.dir.get(), *entry, std::move(name), listing.matches.emplace_back())) {
      listing.matches.pop_back();
    }
  }
  return listing;
}

void FindEnumeration::Close() noexcept {
  impl_.reset();
}

void ReplaceFileContent(const std::string& path, std::string_view bytes) {
  if (path.empty()) throw Error(vberr::kBadFileName);
  // Work on the file itself, not on a link to it: the link must stay a link.
  const UniqueMallocText resolved(::realpath(NativePath(path).c_str(), nullptr));
  if (!resolved) ThrowOsError(errno);
  const std::string target(resolved.get());
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) ThrowOsError(errno);
  if (!S_ISREG(st.st_mode) || IsOwnerReadOnly(st)) throw Error(vberr::kPathFileAccess);
  // Opening for writing tells whether that is allowed; the probe closes at once.
  if (!UniqueFd(::open(target.c_str(), O_WRONLY | O_CLOEXEC))) ThrowOsError(errno);
  std::string temp =
      ParentOf(target) + "/." + std::filesystem::path(target).filename().string() + ".XXXXXX";
  UniqueFd fd(::mkstemp(temp.data()));
  if (!fd) ThrowOsError(errno);
  ScopeExit remove_temp([&] { ::unlink(temp.c_str()); });
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowOsError(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  // The new file takes the old one's owner where allowed (a different owner is no reason to
  // fail), then its mode: a change of owner clears the set-id bits.
  if (::fchown(fd.get(), st.st_uid, st.st_gid) != 0) {
  }
  if (::fchmod(fd.get(), st.st_mode & 07777) != 0) ThrowOsError(errno);
  if (::fsync(fd.get()) != 0) ThrowOsError(errno);
  fd.reset();
  if (::rename(temp.c_str(), target.c_str()) != 0) ThrowOsError(errno);
  remove_temp.release();
}

void WriteFileAt(const std::string& path, std::uint64_t offset,
                 std::span<const std::uint8_t> bytes) {
  if (path.empty()) throw Error(vberr::kBadFileName);
  const UniqueFd fd(::open(NativePath(path).c_str(), O_WRONLY | O_CLOEXEC));
  if (!fd) ThrowOsError(errno);
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::pwrite(fd.get(), bytes.data() + done, bytes.size() - done,
                               static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowOsError(errno);
    }
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace hv::platform
