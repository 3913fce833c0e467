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

}  // namespace hv::com
