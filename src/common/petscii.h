#pragma once
// PETSCII, the C64's character set, as the VICE emulator and its c1541 tool map it to and from
// ASCII. Both directions follow VICE's own tables, so that a name we print reads as c1541
// prints it and a name we hand to VICE arrives as the bytes we meant.

#include <cstdint>

namespace hv {

// One PETSCII byte as c1541 shows it: 0x41-0x5A lower case, 0xC1-0xDA upper case, 0xA0
// (shifted space) a blank, anything with no printable ASCII form '.'.
char PetsciiToAscii(std::uint8_t c);

// One ASCII character as VICE converts it to PETSCII: 'a'-'z' to 0x41-0x5A, 'A'-'Z' to
// 0xC1-0xDA, LF to 0x0D, CR to 0x0A, other controls and codes from 0x7B up to '?'.
std::uint8_t AsciiToPetscii(char c);

}  // namespace hv
