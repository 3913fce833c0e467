#pragma once
// BSTR <-> core text (Windows-1252 bytes). A BSTR carries its length, so embedded NULs travel
// both ways unchanged.

#include <string>
#include <string_view>

#include "com/common/unique_resource.h"

namespace hv::com {

// Throws std::bad_alloc when the BSTR cannot be allocated.
UniqueBstr ToBstr(std::string_view text);
// A null BSTR is the empty text, as automation treats it.
std::string FromBstr(BSTR text);
// Writes a new text through an [in, out] BSTR* argument: the new string is made first, so on
// failure the caller's string is untouched; the old one is freed after.
void ReplaceBstr(BSTR* target, std::string_view text);

}  // namespace hv::com
