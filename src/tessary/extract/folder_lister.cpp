#include "tessary/extract/folder_lister.h"

#include <algorithm>

#include "common/upper_case.h"
#include "common/wildcard.h"
#include "platform/filesystem.h"
#include "platform/path_separator.h"

namespace hv::tessary {
namespace {

// Plain files of `folder`: no folders, no hidden or system files. Names are cut at a NUL, as
// the find record holds them.
std::vector<std::string> PlainFiles(const std::string& folder) {
  std::vector<std::string> names;
  platform::FindEnumeration find(folder + platform::kPathSeparator + "*");
  platform::FindData data;
  constexpr std::uint32_t kLeftOut =
      platform::attr::kDirectory | platform::attr::kHidden | platform::attr::kSystem;
  while (find.Next(data)) {
    if (data.attributes & kLeftOut) continue;
    std::string name = data.name.substr(0, data.name.find('\0'));
    if (!name.empty()) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string ua = UpperCase1252(a), ub = UpperCase1252(b);
    return ua != ub ? ua < ub : a < b;
  });
  return names;
}

std::vector<std::string_view> SplitPatterns(std::string_view patterns) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    if (end > start) out.push_back(patterns.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

}  // namespace

std::vector<std::string> ListNames(const std::string& folder, std::string_view patterns) {
  const std::vector<std::string_view> wanted = SplitPatterns(patterns);
  std::vector<std::string> names = PlainFiles(folder);
  std::erase_if(names, [&wanted](const std::string& name) {
    return std::none_of(wanted.begin(), wanted.end(),
                        [&name](std::string_view p) { return WildcardMatch(p, name); });
  });
  return names;
}

std::string ListFolder(const std::string& folder) {
  std::string text;
  for (const std::string& name : PlainFiles(folder)) text += name + "\r\n";
  return text;
}

}  // namespace hv::tessary
