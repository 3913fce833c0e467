#include "halvane/functions/config_editor.h"

#include "common/upper_case.h"

namespace hv::halvane {

std::vector<std::string> SplitConfigLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string_view LineEndOf(std::string_view text) {
  const std::size_t end = text.find_first_of("\r\n");
  return end != std::string_view::npos && text[end] == '\n' ? "\n" : "\r\n";
}

namespace {

// Applies the entries to the lines in order; says which entry matched a line.
std::vector<bool> ApplyEntries(std::vector<std::string>& lines,
                               const std::vector<ConfigFileType>& entries) {
  std::vector<bool> matched;
  matched.reserve(entries.size());
  for (const ConfigFileType& entry : entries) {
    const std::string key = UpperCase1252(entry.KeyToChange);
    bool found = false;
    for (std::string& line : lines) {
      const std::string_view head = std::string_view(line).substr(0, key.size());
      if (UpperCase1252(head) != key) continue;
      line = entry.KeyToChange + "=" + entry.ValueToSet;
      found = true;
      break;
    }
    matched.push_back(found);
  }
  return matched;
}

}  // namespace

std::vector<std::size_t> UnmatchedConfigKeys(std::string_view text,
                                             const std::vector<ConfigFileType>& entries) {
  std::vector<std::string> lines = SplitConfigLines(text);
  const std::vector<bool> matched = ApplyEntries(lines, entries);
  std::vector<std::size_t> unmatched;
  for (std::size_t i = 0; i < matched.size(); ++i) {
    if (!matched[i]) unmatched.push_back(i);
  }
  return unmatched;
}

std::string EditConfigText(std::string_view text, const std::vector<ConfigFileType>& entries,
                           LineEnds ends) {
  std::vector<std::string> lines = SplitConfigLines(text);
  lines.emplace_back();  // the working copy ends with one extra empty line
  ApplyEntries(lines, entries);
  const std::string_view line_end = ends == LineEnds::kAsRead ? LineEndOf(text) : "\r\n";
  std::string out;
  out.reserve(text.size() + lines.size() * 2);
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    out += line;
    out += line_end;
  }
  return out;
}

}  // namespace hv::halvane
