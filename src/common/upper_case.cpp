#include "common/upper_case.h"

#include <array>

namespace hv {
namespace {

struct CasePair {
  unsigned char lower, upper;
};

// The letters outside the two runs below; both directions are made from the same pairs.
constexpr std::array<CasePair, 4> kOtherLetters = {{
    {0x9A, 0x8A},  // s caron
    {0x9C, 0x8C},  // oe ligature
    {0x9E, 0x8E},  // z caron
    {0xFF, 0x9F},  // y diaeresis
}};

struct CaseTables {
  std::array<unsigned char, 256> upper{}, lower{};
};

constexpr CaseTables MakeTables() {
  CaseTables t;
  for (int b = 0; b < 256; ++b) t.upper[b] = t.lower[b] = static_cast<unsigned char>(b);
  auto pair = [&t](int lower, int upper) {
    t.upper[lower] = static_cast<unsigned char>(upper);
    t.lower[upper] = static_cast<unsigned char>(lower);
  };
  for (int b = 'a'; b <= 'z'; ++b) pair(b, b - 0x20);
  // Latin-1 letters, except the division and multiplication signs (0xF7, 0xD7).
  for (int b = 0xE0; b <= 0xFE; ++b) {
    if (b != 0xF7) pair(b, b - 0x20);
  }
  for (const CasePair& p : kOtherLetters) pair(p.lower, p.upper);
  return t;
}

constexpr CaseTables kCase = MakeTables();

std::string Mapped(std::string_view text, const std::array<unsigned char, 256>& table) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace

char UpperCase1252(char c) noexcept {
  return static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]);
}

std::string UpperCase1252(std::string_view text) {
  return Mapped(text, kCase.upper);
}

char LowerCase1252(char c) noexcept {
  return static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]);
}

std::string LowerCase1252(std::string_view text) {
  return Mapped(text, kCase.lower);
}

}  // namespace hv
