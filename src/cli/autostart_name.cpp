#include "cli/autostart_name.h"

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

}  // namespace

std::string ViceAutostartName(std::string_view name_bytes) {
  std::string out;
  for (const char c : name_bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b == kPadding) break;
    if (b >= 0x41 && b <= 0x5A) {
      out += static_cast<char>(b + 0x20);
    } else if (b >= 0xC1 && b <= 0xDA) {
      out += static_cast<char>(b - 0x80);
    } else if (b == '"' || b == '$') {
      out += Escape(b);  // a quote would end the argument, a dollar start an escape
    } else if (b >= 0x20 && b <= 0x5F && b != ':') {
      out += c;
    } else if (b != 0 && Escapable(b)) {  // "$00" would end the name
      out += Escape(b);
    } else {
      out += '?';
    }
  }
  return out;
}

}  // namespace hv::cli
