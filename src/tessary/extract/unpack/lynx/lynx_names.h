#pragma once
// The file name an entry gets in the folder: its C64 name as the C64 shows it in a directory
// listing, with the extension of its type as loose C64 files carry it.

#include <string>
#include <string_view>

#include "tessary/extract/unpack/lynx/lynx_directory.h"

namespace hv::lynx {

// PETSCII as readable Windows-1252 text: letters (shifted or not) become upper-case letters,
// shift-space a blank, the pound sign '£', arrows '^' and '_'; path separators and every code
// without a printable form become '_'. A leading dot becomes '_' too, so that no name is
// hidden or "." or "..", and an empty name becomes "_".
std::string PetsciiToFileText(std::string_view petscii);

// ".prg", ".seq", ".usr", ".del", or ".l" and the record length in two upper-case hex digits
// for a relative file.
std::string TypeExtension(const LynxEntry& entry);

// PetsciiToFileText(name) followed by TypeExtension: still to pass the folder's name check.
std::string EntryFileName(const LynxEntry& entry);

}  // namespace hv::lynx
