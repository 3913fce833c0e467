#pragma once
// Entry names: decoding the stored bytes into core text. Where a name lands is the one check of
// unpack/flat_folder.h.

#include <string>
#include <string_view>

namespace hv::zip {

// The stored name as Windows-1252 text: UTF-8 when general-purpose bit 11 is set, otherwise
// code page 437 (the zip format's default). Characters Windows-1252 lacks become '?'.
std::string DecodeEntryName(std::string_view stored, bool utf8);

}  // namespace hv::zip
