#pragma once
// Directory names and types as c1541 lists them: PETSCII turned into ASCII, the shifted-space
// padding of a name closing its quotation marks as the drive does, an unclosed file marked '*'
// and a locked one '<'. Only for people: the JSON listing keeps the readers' texts.

#include <cstdint>
#include <string>
#include <string_view>

namespace hv::cli {

// PETSCII bytes to ASCII, one character per byte.
std::string C64Text(std::string_view petscii);

// A 16-byte name field in quotation marks: the first 0xA0 becomes the closing mark and later
// ones blanks; without padding the mark follows the 16th character. A NUL shows as '?'.
std::string C64QuotedName(std::string_view name_bytes);

// A tape name: its trailing 0xA0 padding dropped, the rest as C64Text.
std::string C64TapeName(std::string_view name);

// The type column of a directory entry: '*' before an unclosed file's type, '<' after a
// locked one's, "???" for a type a 1541 does not know. Closed files get a blank in front, so
// the types line up.
std::string C64TypeColumn(std::uint8_t type_byte);

}  // namespace hv::cli
