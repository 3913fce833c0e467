#pragma once
// Entry names: decoding the stored bytes into core text, and the one check that turns an
// entry name into a file path inside the destination folder.

#include <string>
#include <string_view>
#include <vector>

namespace hv::zip {

// The stored name as Windows-1252 text: UTF-8 when general-purpose bit 11 is set, otherwise
// code page 437 (the zip format's default). Characters Windows-1252 lacks become '?'.
std::string DecodeEntryName(std::string_view stored, bool utf8);

// True for a folder entry (its name ends in a separator): such entries are not written.
bool IsFolderName(std::string_view name);

struct EntryTarget {
  std::string file_name;  // the plain name written into the folder
  std::string path;       // folder joined with file_name
};

// Where an entry lands when archives are unpacked flat: the last component after any '/' or
// '\', without a drive prefix ("C:"), characters Windows forbids in names replaced by '_',
// trailing dots and blanks dropped (Windows drops them too). An empty result, "." or "..",
// and device names (CON, NUL, COM1, ...) are refused with hv::Error 52. The result is
// confirmed to lie directly in `folder`.
EntryTarget FlatEntryTarget(const std::string& folder, std::string_view entry_name);

// Adds `file_name` to the names an unpacker reports, once however often the archive writes it.
void RecordWritten(std::vector<std::string>& written, const std::string& file_name);

}  // namespace hv::zip
