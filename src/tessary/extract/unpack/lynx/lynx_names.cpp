#include "tessary/extract/unpack/lynx/lynx_names.h"

#include <cstdint>

namespace hv::lynx {
namespace {

// One PETSCII code as the C64 shows it in a directory listing, or '_' for codes that show as
// graphics, colours or cursor moves.
char PetsciiChar(std::uint8_t c) {
  if (c >= 0x41 && c <= 0x5A) return static_cast<char>(c);
  // Shifted letters, and the codes that duplicate them.
  if (c >= 0xC1 && c <= 0xDA) return static_cast<char>(c - 0x80);
  if (c >= 0x61 && c <= 0x7A) return static_cast<char>(c - 0x20);
  if (c == 0xA0) return ' ';
  if (c == 0x5C) return '\xA3';  // the pound sign, in Windows-1252
  if (c == 0x5E) return '^';     // up arrow
  if (c == 0x5F) return '_';     // left arrow
  // The separators are ordinary characters in a C64 name ("PART 1/2").
  if (c == '/') return '_';
  if (c >= 0x20 && c <= 0x40) return static_cast<char>(c);
  if (c == 0x5B || c == 0x5D) return static_cast<char>(c);
  return '_';
}

}  // namespace

std::string PetsciiToFileText(std::string_view petscii) {
  std::string text;
  text.reserve(petscii.size());
  for (const char c : petscii) text.push_back(PetsciiChar(static_cast<std::uint8_t>(c)));
  if (text.empty()) return "_";
  if (text.front() == '.') text.front() = '_';
  return text;
}

std::string TypeExtension(const LynxEntry& entry) {
  switch (entry.type) {
    case 'S':
      return ".seq";
    case 'U':
      return ".usr";
    case 'D':
      return ".del";
    case 'R': {
      constexpr char kHex[] = "0123456789ABCDEF";
      return std::string(".l") + kHex[entry.record_length >> 4] + kHex[entry.record_length & 0xF];
    }
    default:
      return ".prg";
  }
}

std::string EntryFileName(const LynxEntry& entry) {
  return PetsciiToFileText(entry.name) + TypeExtension(entry);
}

}  // namespace hv::lynx
