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

// The type column of a directory entry as c1541 shows it: '*' before an unclosed file's type,
// '<' after a locked one's, the type in lower case ("cbm" for a 1581 partition), "???" for a
// kind a drive does not know. Blanks stand where no mark is, so the column is five wide.
std::string C64TypeColumn(std::uint8_t type_byte);

}  // namespace hv::cli
