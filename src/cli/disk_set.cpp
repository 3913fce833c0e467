#include "cli/disk_set.h"

#include <algorithm>
#include <cctype>
#include <regex>
#include <span>

#include "common/upper_case.h"
#include "platform/file_writer.h"

namespace hv::cli {

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr char kFliplistHeader[] = "# Vice fliplist file";
constexpr std::size_t kMaxDiskDigits = 3;

struct DiskMark {
  std::string rest;  // the name with its disk and side numbers taken out, upper case
  int disk = 0, side = 0;
};

int NumberOf(const std::string& text) {
  if (text.size() == 1 && std::isalpha(static_cast<unsigned char>(text[0]))) {
    return std::tolower(static_cast<unsigned char>(text[0])) - 'a' + 1;  // side a, b, ...
  }
  if (text.empty() || text.size() > kMaxDiskDigits) return 0;
  return std::stoi(text);
}

// The last match of `pattern` in `stem`: its number (group `number`) is taken out of `stem`
// and the marker, with '#' for the number, put in its place, so that what stays must match
// between the disks: the kind of marker ("DISK" against "SIDE") and a total ("OF 3") included.
std::optional<int> TakeLast(std::string& stem, const std::regex& pattern, std::size_t number) {
  std::optional<std::smatch> last;
  for (auto it = std::sregex_iterator(stem.begin(), stem.end(), pattern);
       it != std::sregex_iterator(); ++it) {
    last = *it;
  }
  if (!last) return std::nullopt;
  std::string marker = last->str(0);
  const auto at = static_cast<std::size_t>(last->position(number) - last->position(0));
  marker.replace(at, static_cast<std::size_t>(last->length(number)), "#");
  const int value = NumberOf(last->str(number));
  stem = last->prefix().str() + "\x01" + marker + "\x01" + last->suffix().str();
  return value;
}

std::optional<DiskMark> MarkOf(const std::string& name, bool (*member)(const std::string&)) {
  static const std::regex kDisk(R"((^|[^a-z])(disk|disc)[ _.-]*([0-9]+|[a-z])(?![a-z0-9]))",
                                std::regex::icase);
  static const std::regex kSide(R"((^|[^a-z])side[ _.-]*([0-9]+|[a-z])(?![a-z0-9]))",
                                std::regex::icase);
  static const std::regex kOf(R"(\(\s*([0-9]+)\s*of\s*[0-9]+\s*\))", std::regex::icase);
  static const std::regex kTrailing(R"([_-]([0-9]+)$)");
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return std::nullopt;
  std::string stem = name.substr(0, dot);
  const std::string ext = name.substr(dot + 1);
  if (!member(UpperCase1252(ext))) return std::nullopt;
  DiskMark mark;
  // TOSEC names carry both: "(Disk 1 of 2)(Side B)".
  const std::optional<int> side = TakeLast(stem, kSide, 2);
  std::optional<int> disk = TakeLast(stem, kDisk, 3);
  if (!disk) disk = TakeLast(stem, kOf, 1);
  if (!disk && !side) disk = TakeLast(stem, kTrailing, 1);
  if (!disk && !side) return std::nullopt;
  mark.disk = disk.value_or(1);
  mark.side = side.value_or(1);
  if (mark.disk < 1 || mark.side < 1) return std::nullopt;
  mark.rest = UpperCase1252(stem + "." + ext);
  return mark;
}

bool IsDiskImage(const std::string& ext) {
  return ext == "D64" || ext == "D71" || ext == "D81" || ext == "G64" || ext == "X64";
}

bool IsArchive(const std::string& ext) {
  return ext == "ZIP" || ext == "7Z" || ext == "LHA" || ext == "LZH" || ext == "GZ" || ext == "RAR";
}

std::optional<std::vector<std::string>> SetOrder(const std::vector<std::string>& names,
                                                 bool (*member)(const std::string&)) {
  if (names.size() < 2) return std::nullopt;
  std::vector<std::pair<std::pair<int, int>, std::string>> disks;
  std::string rest;
  for (const std::string& name : names) {
    const std::optional<DiskMark> mark = MarkOf(name, member);
    if (!mark) return std::nullopt;
    if (disks.empty()) rest = mark->rest;
    if (mark->rest != rest) return std::nullopt;
    disks.push_back({{mark->disk, mark->side}, name});
  }
  std::sort(disks.begin(), disks.end());
  const auto same_number = [](const auto& a, const auto& b) { return a.first == b.first; };
  if (disks.front().first != std::pair(1, 1) ||
      std::adjacent_find(disks.begin(), disks.end(), same_number) != disks.end()) {
    return std::nullopt;
  }
  std::vector<std::string> ordered;
  for (auto& [number, name] : disks) ordered.push_back(std::move(name));
  return ordered;
}

}  // namespace

std::optional<std::vector<std::string>> DiskSetOrder(const std::vector<std::string>& names) {
  return SetOrder(names, IsDiskImage);
}

std::optional<std::vector<std::string>> ArchiveSetOrder(const std::vector<std::string>& names) {
  return SetOrder(names, IsArchive);
}

std::optional<std::vector<std::string>> ArchiveSetOf(const std::string& name,
                                                     const std::vector<std::string>& siblings) {
  // Most archives carry no disk number at all; spare them the patterns.
  const std::string upper = UpperCase1252(name);
  if (upper.find("DIS") == std::string::npos && upper.find("SIDE") == std::string::npos &&
      upper.find("OF") == std::string::npos && upper.find_first_of("_-") == std::string::npos) {
    return std::nullopt;
  }
  const std::optional<DiskMark> own = MarkOf(name, IsArchive);
  if (!own) return std::nullopt;
  std::vector<std::string> members;
  for (const std::string& sibling : siblings) {
    const std::optional<DiskMark> mark = MarkOf(sibling, IsArchive);
    if (mark && mark->rest == own->rest) members.push_back(sibling);
  }
  if (std::find(members.begin(), members.end(), name) == members.end()) members.push_back(name);
  return ArchiveSetOrder(members);
}

std::string FliplistText(const std::vector<std::string>& disks) {
  std::string text = std::string(kFliplistHeader) + kCrLf + kCrLf + "UNIT 8" + kCrLf;
  for (const std::string& disk : disks) text += disk + kCrLf;
  return text;
}

std::string PlaylistText(const std::vector<std::string>& disks) {
  std::string text;
  for (const std::string& disk : disks) text += disk + kCrLf;
  return text;
}

void WriteWholeFile(const std::string& folder, const std::string& path, const std::string& text) {
  platform::FileWriter writer = platform::FileWriter::CreateTempIn(folder);
  writer.Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  writer.Commit(path);
}

std::string DiskSetChooser::Choose(const std::vector<std::string>& names, std::size_t selected) {
  if (std::optional<std::vector<std::string>> set = DiskSetOrder(names)) {
    disks_ = std::move(*set);
    return disks_.front();
  }
  disks_.clear();
  return fallback_.Choose(names, selected);
}

}  // namespace hv::cli
