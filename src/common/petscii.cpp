#include "common/petscii.h"

namespace hv {

namespace {

// The screen-output duplicates of the shifted letters and graphics fold onto their canonical
// codes (0x60-0x7F onto 0xC0-0xDF, 0xE0-0xFF onto 0xA0-0xBF).
std::uint8_t FoldDuplicates(std::uint8_t c) {
  if (c >= 0x60 && c <= 0x7F) return static_cast<std::uint8_t>(c - 0x60 + 0xC0);
  if (c >= 0xE0) return static_cast<std::uint8_t>(c - 0xE0 + 0xA0);
  return c;
}

}  // namespace

char PetsciiToAscii(std::uint8_t c) {
  c = FoldDuplicates(c);
  if (c == 0x0D) return '\n';
  if (c == 0x0A) return '\r';
  if (c <= 0x1F) return '.';
  if (c == 0xA0) return ' ';
  if (c >= 0xC1 && c <= 0xDA) return static_cast<char>(c - 0xC1 + 'A');
  if (c >= 0x41 && c <= 0x5A) return static_cast<char>(c - 0x41 + 'a');
  return c <= 0x7E ? static_cast<char>(c) : '.';
}

std::uint8_t AsciiToPetscii(char ch) {
  const auto c = static_cast<std::uint8_t>(ch);
  if (c == '\n') return 0x0D;
  if (c == '\r') return 0x0A;
  if (c <= 0x1F) return '?';
  if (c == '`') return '\'';
  if (c >= 'a' && c <= 'z') return static_cast<std::uint8_t>(c - 'a' + 0x41);
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c - 'A' + 0xC1);
  if (c >= 0x7B) return '?';
  return FoldDuplicates(c);
}

}  // namespace hv
