#pragma once
// The texts a directory entry's bytes are shown as by the readers: the name without its
// shifted-space padding, the size in blocks right-aligned in five characters and the type as
// "PRG", "*SEQ" (unclosed), "USR<" (locked) or "@0:PRG" (saved with @). hvD64 holds them as its
// properties; the listing of other disk kinds gives the same texts.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace hv::tessary {

inline constexpr std::size_t kDirNameSize = 16;
inline constexpr std::uint8_t kShiftedSpace = 0xA0;  // pads names and IDs

// The file type byte: the kind in the low four bits (0 DEL, 1 SEQ, 2 PRG, 3 USR, 4 REL), and
// the flags 0x80 closed, 0x40 locked, 0x20 saved with @ (replacing) in the high four.
inline std::string_view FileTypeText(std::uint8_t type) {
  using namespace std::string_view_literals;
  constexpr std::uint8_t kKindMask = 0x0F, kFlagsMask = 0xF0;
  constexpr std::uint8_t kClosed = 0x80, kLocked = 0x40, kReplacing = 0x20;
  constexpr unsigned kLastKind = 4;
  static constexpr std::string_view kNames[] = {"DEL"sv, "SEQ"sv, "PRG"sv, "USR"sv, "REL"sv};
  static constexpr std::string_view kLockedNames[] = {"DEL<"sv, "SEQ<"sv, "PRG<"sv, "USR<"sv,
                                                      "REL<"sv};
  static constexpr std::string_view kSplat[] = {{}, "*SEQ"sv, "*PRG"sv, "*USR"sv, "*REL"sv};
  static constexpr std::string_view kReplace[] = {"@0:DEL"sv, "@0:SEQ"sv, "@0:PRG"sv, "@0:USR"sv,
                                                  "@0:REL"sv};
  const unsigned kind = type & kKindMask;
  const unsigned flags = type & kFlagsMask;
  if (flags == kClosed && kind <= kLastKind) return kNames[kind];
  if (flags == (kClosed | kLocked) && kind <= kLastKind) return kLockedNames[kind];
  if (flags == (kClosed | kReplacing) && kind <= kLastKind) return kReplace[kind];
  // An unclosed file: a bare kind other than DEL.
  if (type >= 0x01 && type <= kLastKind) return kSplat[type];
  return "?"sv;
}

// The size text: the decimal digits padded on the left with spaces to five characters.
inline std::string_view BlocksText(std::uint32_t blocks, std::array<char, 5>& out) {
  out.fill(' ');
  std::size_t at = out.size();
  do {
    out[--at] = static_cast<char>('0' + blocks % 10);
    blocks /= 10;
  } while (blocks != 0 && at > 0);
  return {out.data(), out.size()};
}

// 16 bytes to 16 characters, written into `out`; the shifted space padding names becomes a space.
inline std::string_view BytesToText(const std::uint8_t* bytes,
                                    std::array<char, kDirNameSize>& out) {
  for (std::size_t i = 0; i < kDirNameSize; ++i)
    out[i] = bytes[i] == kShiftedSpace ? ' ' : static_cast<char>(bytes[i]);
  return {out.data(), out.size()};
}

// A name field as BytesToText gives it, without its trailing spaces.
inline std::string_view NameText(const std::uint8_t* bytes, std::array<char, kDirNameSize>& out) {
  std::string_view text = BytesToText(bytes, out);
  std::size_t size = text.size();
  while (size > 0 && text[size - 1] == ' ') --size;
  return text.substr(0, size);
}

// The disk ID field (ID, blank and DOS type) with its padding and NULs as blanks.
template <std::size_t N>
void IdText(const std::uint8_t* bytes, std::array<char, N>& out) {
  for (std::size_t i = 0; i < N; ++i) {
    out[i] = bytes[i] == kShiftedSpace || bytes[i] == 0x00 ? ' ' : static_cast<char>(bytes[i]);
  }
}

}  // namespace hv::tessary
