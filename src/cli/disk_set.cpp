#include "cli/disk_set.h"

#include <algorithm>
#include <cctype>
#include <regex>
#include <span>

#include "common/upper_case.h"
#include "platform/file_writer.h"
#include "platform/path_separator.h"

namespace hv::cli {

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr char kFliplistHeader[] = "# Vice fliplist file";
constexpr std::size_t kMaxDiskDigits = 3;

struct DiskMark {
  std::string rest;  // the name with its disk number taken out, upper case
  int number = 0;
};

int NumberOf(const std::string& text) {
  if (text.size() == 1 && std::isalpha(static_cast<unsigned char>(text[0]))) {
    return std::tolower(static_cast<unsigned char>(text[0])) - 'a' + 1;  // side a, b, ...
  }
  if (text.empty() || text.size() > kMaxDiskDigits) return 0;
  return std::stoi(text);
}

// The last match of `pattern` in `stem`, with the text of its group `number`.
std::optional<DiskMark> LastMatch(const std::string& stem, const std::regex& pattern,
                                  std::size_t number, const std::string& ext) {
  std::optional<std::smatch> last;
  for (auto it = std::sregex_iterator(stem.begin(), stem.end(), pattern);
       it != std::sregex_iterator(); ++it) {
    last = *it;
  }
  if (!last) return std::nullopt;
  // What stays must match between the disks: everything but the number, the kind of marker
  // ("DISK" against "SIDE") and a total ("OF 3") included.
  std::string marker = last->str(0);
  const auto at = static_cast<std::size_t>(last->position(number) - last->position(0));
  marker.replace(at, static_cast<std::size_t>(last->length(number)), "#");
  DiskMark mark;
  mark.rest = UpperCase1252(last->prefix().str() + "\x01" + marker + "\x01" + last->suffix().str() +
                            "." + ext);
  mark.number = NumberOf(last->str(number));
  return mark;
}

std::optional<DiskMark> MarkOf(const std::string& name) {
  static const std::regex kWord(R"((^|[^a-z])(disk|disc|side)[ _.-]*([0-9]+|[a-z])(?![a-z0-9]))",
                                std::regex::icase);
  static const std::regex kOf(R"(\(\s*([0-9]+)\s*of\s*[0-9]+\s*\))", std::regex::icase);
  static const std::regex kTrailing(R"([_-]([0-9]+)$)");
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return std::nullopt;
  const std::string stem = name.substr(0, dot), ext = name.substr(dot + 1);
  if (UpperCase1252(ext) != "D64") return std::nullopt;  // a fliplist holds disks only
  if (auto m = LastMatch(stem, kWord, 3, ext)) return m;
  if (auto m = LastMatch(stem, kOf, 1, ext)) return m;
  return LastMatch(stem, kTrailing, 1, ext);
}

}  // namespace

std::optional<std::vector<std::string>> DiskSetOrder(const std::vector<std::string>& names) {
  if (names.size() < 2) return std::nullopt;
  std::vector<std::pair<int, std::string>> disks;
  std::string rest;
  for (const std::string& name : names) {
    const std::optional<DiskMark> mark = MarkOf(name);
    if (!mark || mark->number < 1) return std::nullopt;
    if (disks.empty()) rest = mark->rest;
    if (mark->rest != rest) return std::nullopt;
    disks.emplace_back(mark->number, name);
  }
  std::sort(disks.begin(), disks.end());
  const auto same_number = [](const auto& a, const auto& b) { return a.first == b.first; };
  if (disks.front().first != 1 ||
      std::adjacent_find(disks.begin(), disks.end(), same_number) != disks.end()) {
    return std::nullopt;
  }
  std::vector<std::string> ordered;
  for (auto& [number, name] : disks) ordered.push_back(std::move(name));
  return ordered;
}

std::string FliplistText(const std::vector<std::string>& disks) {
  std::string text = std::string(kFliplistHeader) + kCrLf + kCrLf + "UNIT 8" + kCrLf;
  for (auto it = disks.rbegin(); it != disks.rend(); ++it) text += *it + kCrLf;
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

DiskSetFiles WriteDiskSetFiles(const std::string& game_file, const std::vector<std::string>& disks,
                               bool playlist) {
  const std::size_t cut = game_file.find_last_of(platform::kPathSeparator);
  const std::string folder = cut == std::string::npos ? "." : game_file.substr(0, cut);
  const std::string name = cut == std::string::npos ? game_file : game_file.substr(cut + 1);
  const std::string stem =
      folder + platform::kPathSeparator + name.substr(0, name.find_last_of('.'));
  std::vector<std::string> paths;
  for (const std::string& disk : disks) paths.push_back(folder + platform::kPathSeparator + disk);
  DiskSetFiles files;
  files.fliplist = stem + ".vfl";
  WriteWholeFile(folder, files.fliplist, FliplistText(paths));
  if (playlist) {
    files.playlist = stem + ".m3u";
    WriteWholeFile(folder, files.playlist, PlaylistText(disks));
  }
  return files;
}

}  // namespace hv::cli
