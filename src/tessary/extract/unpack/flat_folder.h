#pragma once
// Members unpacked flat into one folder: the one check that turns a member's name into a file
// directly inside the folder, and the names that keep members apart when two share a name.

#include <string>
#include <string_view>
#include <vector>

namespace hv::unpack {

struct FlatTarget {
  std::string file_name;  // the plain name written into the folder
  std::string path;       // folder joined with file_name
};

// Where a member lands: the last component of `member` after any '/' or '\', without a drive
// prefix ("C:"), characters Windows forbids in names replaced by '_', trailing dots and blanks
// dropped (Windows drops them too). An empty result, "." or "..", and device names (CON, NUL,
// COM1, ...) are refused with hv::Error 52 naming `archive` (unpack_failure.h). The result is
// confirmed to lie directly in `folder`.
FlatTarget FlatEntryTarget(const std::string& folder, std::string_view member,
                           std::string_view archive);

// The last component of `path` without its extension: "game" of "C:\\in\\game.lnx".
std::string StemOf(std::string_view path);

// True for a folder member (its name ends in a separator): such members are not written.
bool IsFolderName(std::string_view name);

// The members of one run into one folder. Nothing written earlier in the same extraction is
// replaced: a name an earlier member of this run took, or a file in the folder already has
// (the folder holds nothing but what this extraction wrote), is told apart by where the member
// came from, "NINJA (Disk 2).D64": its own folder, or else `origin` (the archive's name), or
// else a number. Names compare without regard to case, as Windows compares them.
class FlatFolder {
 public:
  FlatFolder(std::string folder, std::string_view archive, std::string origin = {});

  // The target of the member stored as `member` (its folders and name), taken from now on.
  FlatTarget Place(std::string_view member);
  // Records a file written under a target Place gave.
  void Written(const FlatTarget& target) { written_.push_back(target.file_name); }
  const std::vector<std::string>& written() const noexcept { return written_; }
  const std::string& folder() const noexcept { return folder_; }

 private:
  bool Taken(const std::string& name) const;

  std::string folder_;
  std::string_view archive_;
  std::string origin_;
  std::vector<std::string> taken_;  // upper-cased
  std::vector<std::string> written_;
};

}  // namespace hv::unpack
