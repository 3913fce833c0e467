#pragma once
// The program name hv play puts behind `-autostart "image:name"`. VICE converts that name from
// ASCII to PETSCII and then replaces "$" and two digits by the byte they give; the name here is
// the text that comes out of that as the directory entry's own bytes.

#include <string>
#include <string_view>

namespace hv::cli {

// `name_bytes` is a directory name as stored; it ends at its first 0xA0 (the padding). Letters
// keep their case (0x41-0x5A as a-z, 0xC1-0xDA as A-Z), other bytes with an ASCII form stay,
// '"' and '$' become "$22" and "$24". A byte VICE can neither convert nor decode (its escape
// only reads decimal digits right, and ':' ends the image part) becomes the drive's wildcard
// '?', which still matches it.
std::string ViceAutostartName(std::string_view name_bytes);

}  // namespace hv::cli
