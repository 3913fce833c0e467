// FindFile and FindFiles: recursive searches over the platform's directory enumeration.

#include <cstdint>
#include <limits>
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

// Links and junctions are not followed: a link back to a parent would make the walk endless.
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
  const std::string hit = platform::SearchPathIn(path, FileName);
  if (!hit.empty()) return TrimAtNull(hit);
  // The system sees the path up to a NUL: the walk goes on from there, or a folder before the
  // NUL would be listed again at every level, for ever.
  const std::string folder = AddBackslash(TrimAtNull(path));
  platform::FindEnumeration entries(folder + "*.*");
  if (!entries.valid()) return {};
  platform::FindData data;
  while (entries.Next(data)) {
    const std::string name = TrimAtNull(data.name);
    if (!(data.attributes & attr::kDirectory) || IsDotEntry(name)) continue;
    if (data.attributes & (attr::kHidden | attr::kSystem)) continue;
    if (IsLink(data.attributes)) continue;
    std::string found = FindFile(FileName, folder + name);
    if (!found.empty()) return found;  // the enumeration closes on the way out
  }
  return {};
}

Variant hvFunctions::FindFiles(std::string& path, std::string& SearchStr) {
  if (path.empty() || path.back() != platform::kPathSeparator) path += platform::kPathSeparator;
  Variant result;
  std::vector<std::string> subfolders;
  platform::SearchListing listing = platform::ListForSearch(path, SearchStr);
  for (platform::FindData& data : listing.entries) {
    const std::string& name = TrimAtNullInPlace(data.name);
    if (IsDotEntry(name)) continue;
    const std::uint32_t attributes =
        data.kind_known ? data.attributes : platform::FileAttributes(path + name);
    // A failed query answers all bits set, which counts as a folder (and finds nothing).
    if ((attributes & attr::kDirectory) && !IsLink(attributes)) subfolders.push_back(name);
  }
  for (platform::FindData& data : listing.matches) {
    const std::string& name = TrimAtNullInPlace(data.name);
    if (IsDotEntry(name)) continue;
    result = Add(result, SizeOf(data));
    if (found_file_) found_file_(path + name);
  }
  for (const std::string& name : subfolders) {
    std::string sub = path + name + platform::kPathSeparator;
    result = Add(result, FindFiles(sub, SearchStr));
  }
  return result;
}

}  // namespace hv::halvane
