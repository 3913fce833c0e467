#include "halvane/shell/command_line.h"

#include "common/cmdline.h"
#include "common/upper_case.h"

namespace hv::halvane {

std::string NumberText(std::int64_t value) {
  return std::to_string(value);
}

std::string CommandLine::Render(bool lower, const ShellPathRules& rules) const {
  std::string line;
  bool in_quotes = false;  // the line so far ends inside quotation marks
  for (const Piece& p : pieces_) {
    const bool lower_this = lower && !p.keep_case && (!p.is_path || rules.case_blind_paths);
    std::string text = lower_this ? LowerCase1252(p.text) : p.text;
    if (p.is_path && !rules.short_paths && !in_quotes &&
        text.find_first_of(" \t") != std::string::npos) {
      text = Enquote(text);
    }
    for (const char c : text) in_quotes = c == '"' ? !in_quotes : in_quotes;
    line += text;
  }
  return line;
}

}  // namespace hv::halvane
