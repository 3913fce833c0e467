#include "tessary/extract/unpack/flat_folder.h"

#include <algorithm>
#include <cctype>

#include "common/path_split.h"
#include "common/upper_case.h"
#include "platform/file_writer.h"
#include "platform/filesystem.h"
#include "platform/path_separator.h"
#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::unpack {
namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

bool IsForbiddenInName(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
      return true;
    default:
      return false;
  }
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, with or without an extension, open a device on
// Windows instead of a file in the folder.
bool IsDeviceName(std::string_view name) {
  std::string upper = UpperCase1252(name.substr(0, name.find('.')));
  while (!upper.empty() && upper.back() == ' ') upper.pop_back();
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

// The folder a member was stored in, as a name may hold it: "" for none.
std::string FolderOf(std::string_view member) {
  const auto cut = member.find_last_of("/\\");
  if (cut == std::string_view::npos) return {};
  std::string_view folders = member.substr(0, cut);
  const auto before = folders.find_last_of("/\\");
  if (before != std::string_view::npos) folders.remove_prefix(before + 1);
  std::string folder;
  for (const char c : folders)
    folder.push_back(IsForbiddenInName(static_cast<unsigned char>(c)) ? '_' : c);
  while (!folder.empty() && (folder.back() == '.' || folder.back() == ' ')) folder.pop_back();
  return folder;
}

// "STEM (LABEL).EXT", the extension kept so the file keeps its kind.
std::string Labelled(const std::string& name, const std::string& label) {
  const auto dot = name.rfind('.');
  const std::size_t stem = dot == std::string::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, stem) + " (" + label + ")" + name.substr(stem);
}

}  // namespace

std::string StemOf(std::string_view path) {
  const auto cut = path.find_last_of("/\\");
  if (cut != std::string_view::npos) path.remove_prefix(cut + 1);
  const auto dot = path.rfind('.');
  return std::string(dot == std::string_view::npos || dot == 0 ? path : path.substr(0, dot));
}

bool IsFolderName(std::string_view name) {
  return !name.empty() && IsSeparator(name.back());
}

FlatTarget FlatEntryTarget(const std::string& folder, std::string_view member,
                           std::string_view archive) {
  std::string_view last = member;
  const auto cut = last.find_last_of("/\\");
  if (cut != std::string_view::npos) last.remove_prefix(cut + 1);
  if (last.size() >= 2 && last[1] == ':' && std::isalpha(static_cast<unsigned char>(last[0]))) {
    last.remove_prefix(2);
  }
  std::string name;
  name.reserve(last.size());
  for (const char c : last)
    name.push_back(IsForbiddenInName(static_cast<unsigned char>(c)) ? '_' : c);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  // Trailing dots are gone, so "." and ".." end up empty here.
  if (name.empty() || IsDeviceName(name)) ThrowUnsafeName(archive, std::string(member));

  FlatTarget target{name, platform::PathInFolder(folder, name)};
  // The joined path must be the folder followed by nothing but this one name.
  const std::string prefix = platform::PathInFolder(folder, "");
  if (name.find_first_of("/\\") != std::string::npos || target.path != prefix + name) {
    ThrowUnsafeName(archive, std::string(member));
  }
  return target;
}

FlatFolder::FlatFolder(std::string folder, std::string_view archive, std::string origin)
    : folder_(std::move(folder)), archive_(archive), origin_(std::move(origin)) {
  // What the folder holds already, compared as Windows compares names on every system.
  platform::FindEnumeration find(WithTrailingSeparator(folder_, platform::kPathSeparator) + "*");
  platform::FindData data;
  while (find.Next(data)) {
    const std::string name = data.name.substr(0, data.name.find('\0'));
    if (!name.empty() && name != "." && name != "..") taken_.push_back(UpperCase1252(name));
  }
}

bool FlatFolder::Taken(const std::string& name) const {
  return std::find(taken_.begin(), taken_.end(), UpperCase1252(name)) != taken_.end();
}

FlatTarget FlatFolder::Place(std::string_view member) {
  FlatTarget target = FlatEntryTarget(folder_, member, archive_);
  if (Taken(target.file_name)) {
    std::string from = FolderOf(member);
    if (from.empty()) from = origin_;
    const std::string plain = target.file_name;
    for (int n = 1; Taken(target.file_name); ++n) {
      std::string label = from;
      if (label.empty()) {
        label = std::to_string(n + 1);
      } else if (n > 1) {
        label += " " + std::to_string(n);
      }
      target = FlatEntryTarget(folder_, Labelled(plain, label), archive_);
    }
  }
  taken_.push_back(UpperCase1252(target.file_name));
  return target;
}

}  // namespace hv::unpack
