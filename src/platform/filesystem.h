#pragma once
// File-system questions and changes of the general functions: existence probes, short names,
// drives and volumes, directory enumeration, deletion and the current directory. Paths are
// core text (Windows-1252).

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hv::platform {

// Attribute bits as the Windows find-data record carries them.
namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kReparsePoint = 0x400;
inline constexpr std::uint32_t kInvalid = 0xFFFFFFFF;  // a failed attribute query
}  // namespace attr

// Drive types as GetDriveTypeA answers them.
namespace drive {
inline constexpr int kUnknown = 0;
inline constexpr int kInvalidRoot = 1;
inline constexpr int kRemovable = 2;
inline constexpr int kFixed = 3;
inline constexpr int kRemote = 4;
inline constexpr int kCdRom = 5;
}  // namespace drive

// Existence probe codes (the OpenFile error-code field).
namespace probe {
inline constexpr int kFound = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kAccessDenied = 5;
}  // namespace probe

// The short form of an existing path; "" when it does not exist.
std::string ShortPathName(const std::string& path);

// Probes a file for existence and answers 0 (there) or the platform's error code: 2 file not
// found, 3 path not found, 5 access denied, others as they come. A bare name (no separator)
// is looked for in the current directory, then along the PATH directories.
int ProbeFile(const std::string& name);

// Removes a file or a directory with its whole content; every error is ignored.
void DeleteTreeSilent(const std::string& path);

// Makes `path` the current directory; false when that is impossible.
bool SetCurrentDir(const std::string& path);
std::string CurrentDir();

// The drive type (drive::) of the root named by `root`.
int DriveType(const std::string& root);

// The root that DriveType and VolumeLabel should be asked about for a file: its drive (the
// first two characters) on Windows, the path itself where there are no drives.
std::string VolumeRootOf(const std::string& path);

// The label of the volume at `root`: "" when it has none or the query fails.
std::string VolumeLabel(const std::string& root);

// Attribute bits (attr::) of a path, attr::kInvalid when they cannot be read.
std::uint32_t FileAttributes(const std::string& path);

// Which folder a path names, links followed: two paths name one folder exactly when their
// identities are equal (device and inode on Linux, volume serial number and file index on
// Windows). A search keeps them to walk a folder it reaches twice, through a link or a
// junction, only once.
struct FolderIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend auto operator<=>(const FolderIdentity&, const FolderIdentity&) = default;
};

// The identity of the folder (or file) at `path`; nullopt when it cannot be read.
std::optional<FolderIdentity> TryFolderIdentity(const std::string& path);

// Looks for `file` in the single directory `dir`: the full path when it is there, else "".
std::string SearchPathIn(const std::string& dir, const std::string& file);

// One entry of a directory enumeration.
struct FindData {
  std::uint32_t attributes = 0;
  std::uint32_t size_high = 0;
  std::uint32_t size_low = 0;
  std::string name;  // as the record holds it; may need cutting at a NUL
  // Set in a names-only listing when the listing itself told the entry's kind: `attributes`
  // then holds the directory bit, or the reparse-point bit alone for a link (whose target is
  // not looked at), and nothing else.
  bool kind_known = false;
};

// Enumerates the entries matching a search "DIR<sep>PATTERN" (wildcards allowed in
// the last component only), "." and ".." included where the platform lists them.
class FindEnumeration {
 public:
  // kNamesOnly: the caller looks at names only, so attributes and sizes may stay unfilled
  // where the platform would need extra work to get them.
  enum class Detail { kFull, kNamesOnly };
  explicit FindEnumeration(const std::string& search, Detail detail = Detail::kFull);
  ~FindEnumeration();
  FindEnumeration(FindEnumeration&&) noexcept;
  FindEnumeration& operator=(FindEnumeration&&) noexcept;
  FindEnumeration(const FindEnumeration&) = delete;
  FindEnumeration& operator=(const FindEnumeration&) = delete;

  // False when the enumeration could not start (the invalid find handle).
  bool valid() const noexcept;
  // The next entry (the first one on the first call); false when there is none.
  bool Next(FindData& out);
  void Close() noexcept;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// One folder as a recursive search reads it: `entries` as the names-only enumeration of
// FOLDER "*" gives them, then `matches` as the enumeration of FOLDER PATTERN does, each in
// listing order. `folder` ends with the path separator.
struct SearchListing {
  std::vector<FindData> entries;
  std::vector<FindData> matches;
};
SearchListing ListForSearch(const std::string& folder, const std::string& pattern);
// The same through two enumerations; for platforms and patterns without a quicker way.
SearchListing ListForSearchByEnumeration(const std::string& folder, const std::string& pattern);

// Whole-file reading, with the file layer's errors (53, 76, 75) as hv::Error.
std::string ReadFileText(const std::string& path);

// Replaces the content of an existing file without ever leaving it truncated: the bytes go to
// a temporary file in the same folder, which then takes the original's place in one step.
// The file keeps what it was besides its bytes: on Linux its mode and (where allowed) its
// owner, on Windows its attributes and security descriptor. The replacement is a new file
// all the same: other hard links to the old one keep the old bytes. A read-only or unwritable
// target raises 75 "Path/File access error" and stays untouched; a missing one raises 53. No
// temporary file is left behind on failure.
void ReplaceFileContent(const std::string& path, std::string_view bytes);

// Writes `bytes` at `offset` of an existing file (never created). Throws hv::Error.
void WriteFileAt(const std::string& path, std::uint64_t offset,
                 std::span<const std::uint8_t> bytes);

}  // namespace hv::platform
