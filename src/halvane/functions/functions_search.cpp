// FindFile and FindFiles: recursive searches over the platform's directory enumeration.

#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <vector>

#include "common/path_split.h"
#include "halvane/functions/hvFunctions.h"
#include "platform/filesystem.h"
#include "platform/path_separator.h"

namespace hv::halvane {
namespace {

namespace attr = platform::attr;

bool IsDotEntry(const std::string& name) {
  return name == "." || name == "..";
}

bool IsLink(std::uint32_t attributes) {
  return attributes != attr::kInvalid && (attributes & attr::kReparsePoint) != 0;
}

Variant SizeOf(const platform::FindData& data) {
  const std::uint64_t size = (std::uint64_t{data.size_high} << 32) | data.size_low;
  if (size <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    return Variant(static_cast<std::int32_t>(size));
  }
  return Variant(static_cast<double>(size));
}

// The folders one search has walked. Links, junctions and drives mounted into a folder are
// walked like any folder, so a link back to a folder above would make the walk endless, and
// two ways into one folder would report its files twice: each folder is walked the first
// time it is met only.
class VisitedFolders {
 public:
  // True when `folder` has not been walked yet, and from now on false for it. A folder whose
  // identity cannot be read is walked unless it is a link: only a link can lead in a circle.
  bool FirstVisit(const std::string& folder, bool is_link) {
    const std::optional<platform::FolderIdentity> id = platform::TryFolderIdentity(folder);
    if (!id) return !is_link;
    return seen_.insert(*id).second;
  }

 private:
  std::set<platform::FolderIdentity> seen_;
};

// The folder a search walks for a path the caller gave: the system reads the path only up to
// a NUL, so the walk goes on from there. Taking the whole text would list the folder before
// the NUL again at every level, for ever.
std::string WalkedPath(const std::string& path) {
  return hvFunctions::TrimAtNull(path);
}

// The folder FindFile lists for `path`, as a path to identify ("" is the current folder).
std::string ListedFolder(const std::string& path) {
  const std::string folder = hvFunctions::AddBackslash(WalkedPath(path));
  return folder.empty() ? std::string(".") : folder;
}

std::string FindFileIn(const std::string& FileName, const std::string& path,
                       VisitedFolders& visited) {
  const std::string hit = platform::SearchPathIn(path, FileName);
  if (!hit.empty()) return hvFunctions::TrimAtNull(hit);
  const std::string folder = hvFunctions::AddBackslash(WalkedPath(path));
  platform::FindEnumeration entries(folder + "*.*");
  if (!entries.valid()) return {};
  platform::FindData data;
  while (entries.Next(data)) {
    const std::string name = hvFunctions::TrimAtNull(data.name);
    if (!(data.attributes & attr::kDirectory) || IsDotEntry(name)) continue;
    if (data.attributes & (attr::kHidden | attr::kSystem)) continue;
    const std::string sub = folder + name;
    if (!visited.FirstVisit(sub, IsLink(data.attributes))) continue;
    std::string found = FindFileIn(FileName, sub, visited);
    if (!found.empty()) return found;  // the enumeration closes on the way out
  }
  return {};
}

// `folder` ends with the separator and holds no NUL.
Variant FindFilesIn(const std::string& folder, const std::string& pattern,
                    const hvFunctions::FoundFileHandler& found_file, VisitedFolders& visited) {
  Variant result;
  struct Subfolder {
    std::string name;
    bool is_link;
  };
  std::vector<Subfolder> subfolders;
  platform::SearchListing listing = platform::ListForSearch(folder, pattern);
  for (platform::FindData& data : listing.entries) {
    const std::string& name = hvFunctions::TrimAtNullInPlace(data.name);
    if (IsDotEntry(name)) continue;
    std::uint32_t attributes = data.attributes;
    if (!data.kind_known) {
      // A failed query answers all bits set, which counts as a folder (and finds nothing).
      attributes = platform::FileAttributes(folder + name);
    } else if (IsLink(attributes)) {
      // The listing tells a link but not what it names; a link that names nothing stays a link.
      const std::uint32_t target = platform::FileAttributes(folder + name);
      if (target != attr::kInvalid) attributes = target;
    }
    if (attributes & attr::kDirectory) subfolders.push_back({name, IsLink(attributes)});
  }
  for (platform::FindData& data : listing.matches) {
    const std::string& name = hvFunctions::TrimAtNullInPlace(data.name);
    if (IsDotEntry(name)) continue;
    result = Add(result, SizeOf(data));
    if (found_file) found_file(folder + name);
  }
  for (const Subfolder& sub : subfolders) {
    const std::string path = folder + sub.name + platform::kPathSeparator;
    if (!visited.FirstVisit(path, sub.is_link)) continue;
    result = Add(result, FindFilesIn(path, pattern, found_file, visited));
  }
  return result;
}

}  // namespace

std::string hvFunctions::TrimAtNull(const std::string& s) {
  return s.substr(0, s.find('\0'));
}

std::string& hvFunctions::TrimAtNullInPlace(std::string& s) {
  const std::size_t nul = s.find('\0');
  if (nul != std::string::npos) s.erase(nul);
  return s;
}

std::string hvFunctions::AddBackslash(const std::string& path) {
  return WithTrailingSeparator(path, platform::kPathSeparator);
}

std::string hvFunctions::FindFile(const std::string& FileName, const std::string& path) {
  VisitedFolders visited;
  visited.FirstVisit(ListedFolder(path), false);
  return FindFileIn(FileName, path, visited);
}

Variant hvFunctions::FindFiles(std::string& path, std::string& SearchStr) {
  if (path.empty() || path.back() != platform::kPathSeparator) path += platform::kPathSeparator;
  std::string folder = WalkedPath(path);
  if (folder.empty() || folder.back() != platform::kPathSeparator) {
    folder += platform::kPathSeparator;
  }
  VisitedFolders visited;
  visited.FirstVisit(folder, false);
  return FindFilesIn(folder, TrimAtNull(SearchStr), found_file_, visited);
}

}  // namespace hv::halvane
