#pragma once
// The program name hv play puts behind `-autostart "image:name"`. VICE converts that name from
// ASCII to PETSCII and then replaces "$" and two digits by the byte they give; the drive then
// looks the result up as a LOAD name. The name here is the text that comes out of that as a
// pattern the drive matches against the directory entry's own bytes.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hv::cli {

// `name_bytes` is a directory name as stored; it ends at its first 0xA0 (the padding). Letters
// keep their case (0x41-0x5A as a-z, 0xC1-0xDA as A-Z), other bytes with an ASCII form stay,
// '$' becomes "$24". A byte no LOAD name can carry ('"', ',', ':', '=', a leading '$' or '@')
// or VICE can neither convert nor decode (its escape only reads decimal digits right) becomes
// the drive's wildcard '?', which still matches it.
std::string ViceAutostartName(std::string_view name_bytes);

// Whether the drive takes `entry_bytes` for the LOAD name VICE makes of `autostart_name` ('?'
// one character, '*' the rest).
bool DriveMatches(std::string_view autostart_name, std::string_view entry_bytes);

struct AutostartChoice {
  std::string name;    // the text behind the image's ':'
  bool exact = false;  // the drive finds this very entry by it
};

// The name that starts entry `index` of a directory whose entries (any type, in directory order)
// have the names `names`: ViceAutostartName when the drive finds no earlier entry by it, else
// "*" for the first entry; for a later entry no name reaches it and the result is not exact.
AutostartChoice ViceAutostartChoice(const std::vector<std::string>& names, std::size_t index);

}  // namespace hv::cli
