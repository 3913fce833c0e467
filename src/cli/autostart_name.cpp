#include "cli/autostart_name.h"

#include <algorithm>
#include <cstdint>

namespace hv::cli {

namespace {

constexpr std::uint8_t kPadding = 0xA0;

// VICE's escape reads the two characters after '$' as hex digits but counts A-F from 0, so only
// bytes whose two nibbles are decimal digits come out as written.
bool Escapable(std::uint8_t b) {
  return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}

std::string Escape(std::uint8_t b) {
  return {'$', static_cast<char>('0' + (b >> 4)), static_cast<char>('0' + (b & 0x0F))};
}

// What ends or changes a LOAD command: the quote closes the name, ',' and '=' start its options,
// ':' separates a drive number; '$' and '@' in front ask for the directory and a replace.
bool DriveSpecial(std::uint8_t b, bool first) {
  return b == '"' || b == ',' || b == ':' || b == '=' || (first && (b == '$' || b == '@'));
}

std::string_view UpToPadding(std::string_view bytes) {
  return bytes.substr(0, std::min(bytes.size(), bytes.find(static_cast<char>(kPadding))));
}

// The bytes VICE makes of one character of our text, for matching: letters as PETSCII.
std::uint8_t PetsciiOf(char c) {
  const auto b = static_cast<std::uint8_t>(c);
  if (b >= 'a' && b <= 'z') return static_cast<std::uint8_t>(b - 0x20);
  if (b >= 'A' && b <= 'Z') return static_cast<std::uint8_t>(b + 0x80);
  return b;
}

}  // namespace

std::string ViceAutostartName(std::string_view name_bytes) {
  std::string out;
  const std::string_view name = UpToPadding(name_bytes);
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(name[i]);
    if (b >= 0x41 && b <= 0x5A) {
      out += static_cast<char>(b + 0x20);
    } else if (b >= 0xC1 && b <= 0xDA) {
      out += static_cast<char>(b - 0x80);
    } else if (DriveSpecial(b, i == 0)) {
      out += '?';
    } else if (b == '$') {
      out += Escape(b);  // a dollar would start an escape
    } else if (b >= 0x20 && b <= 0x5F) {
      out += static_cast<char>(b);
    } else if (b != 0 && Escapable(b)) {  // "$00" would end the name
      out += Escape(b);
    } else {
      out += '?';
    }
  }
  return out;
}

bool DriveMatches(std::string_view autostart_name, std::string_view entry_bytes) {
  const std::string_view entry = UpToPadding(entry_bytes);
  std::size_t at = 0;
  for (std::size_t i = 0; i < autostart_name.size(); ++i) {
    const char c = autostart_name[i];
    if (c == '*') return true;
    if (at >= entry.size()) return false;
    const auto want = static_cast<std::uint8_t>(entry[at++]);
    if (c == '?') continue;
    std::uint8_t got = PetsciiOf(c);
    if (c == '$' && i + 2 < autostart_name.size()) {
      got = static_cast<std::uint8_t>((autostart_name[i + 1] - '0') * 16 +
                                      (autostart_name[i + 2] - '0'));
      i += 2;
    }
    if (got != want) return false;
  }
  return at == entry.size();
}

AutostartChoice ViceAutostartChoice(const std::vector<std::string>& names, std::size_t index) {
  const std::string name = ViceAutostartName(names.at(index));
  for (std::size_t i = 0; i < index; ++i) {
    if (DriveMatches(name, names[i])) return {name, false};
  }
  if (DriveMatches(name, names[index])) return {name, true};
  return {index == 0 ? "*" : name, index == 0};
}

}  // namespace hv::cli
