#include "halvane/shell/command_line.h"

namespace hv::halvane {

namespace {

unsigned char LowerByte(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A:
      return 0x9A;  // S caron
    case 0x8C:
      return 0x9C;  // OE
    case 0x8E:
      return 0x9E;  // Z caron
    case 0x9F:
      return 0xFF;  // Y diaeresis
    default:
      return c;
  }
}

unsigned char UpperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return c;
  }
}

}  // namespace

std::string AnsiLower(std::string text) {
  for (char& c : text) c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
  return text;
}

std::string AnsiUpper(std::string text) {
  for (char& c : text) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
  return text;
}

std::string NumberText(std::int64_t value) {
  return std::to_string(value);
}

std::string CommandLine::Render(bool lower, const ShellPathRules& rules) const {
  std::string line;
  bool in_quotes = false;  // the line so far ends inside quotation marks
  for (const Piece& p : pieces_) {
    const bool lower_this = lower && !p.keep_case && (!p.is_path || rules.case_blind_paths);
    std::string text = lower_this ? AnsiLower(p.text) : p.text;
    if (p.is_path && !rules.short_paths && !in_quotes &&
        text.find_first_of(" \t") != std::string::npos) {
      // A backslash before the closing mark would escape it.
      if (text.back() == '\\') text += '\\';
      text = '"' + text + '"';
    }
    for (const char c : text) in_quotes = c == '"' ? !in_quotes : in_quotes;
    line += text;
  }
  return line;
}

}  // namespace hv::halvane
