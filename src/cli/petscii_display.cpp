#include "cli/petscii_display.h"

#include "common/petscii.h"

namespace hv::cli {

namespace {

constexpr std::uint8_t kShiftedSpace = 0xA0;

std::uint8_t Byte(char c) {
  return static_cast<std::uint8_t>(c);
}

}  // namespace

std::string C64Text(std::string_view petscii) {
  std::string out;
  out.reserve(petscii.size());
  for (const char c : petscii) out += PetsciiToAscii(Byte(c));
  return out;
}

std::string C64QuotedName(std::string_view name_bytes) {
  std::string out = "\"";
  bool closed = false;
  for (const char c : name_bytes) {
    if (Byte(c) == kShiftedSpace) {
      out += closed ? ' ' : '"';
      closed = true;
    } else if (c == '\0') {
      out += '?';  // the C64 would show a reverse @, which a terminal cannot
    } else {
      out += PetsciiToAscii(Byte(c));
    }
  }
  if (!closed) out += '"';
  return out;
}

std::string C64TapeName(std::string_view name) {
  while (!name.empty() && Byte(name.back()) == kShiftedSpace) name.remove_suffix(1);
  return C64Text(name);
}

std::string C64TypeColumn(std::uint8_t type_byte) {
  static constexpr const char* kTypes[] = {"del", "seq", "prg", "usr", "rel", "cbm"};
  const unsigned kind = type_byte & 0x07u;
  std::string out = (type_byte & 0x80u) ? " " : "*";
  out += kind < 6 ? kTypes[kind] : "???";
  out += (type_byte & 0x40u) ? '<' : ' ';
  return out;
}

}  // namespace hv::cli
