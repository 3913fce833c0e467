#pragma once
// VARIANT <-> the core's hv::Variant. By-reference variants (VT_BYREF|VT_VARIANT, then
// VT_BYREF|<type>) are followed, so an [in, out] VARIANT* argument reads like a plain one.

#include <oaidl.h>

#include "common/variant.h"

namespace hv::com {

// The value a variant holds. Objects, arrays and error values raise 13 "Type mismatch".
Variant FromVariant(const VARIANT& value);

// A fresh VARIANT for a core value (the caller clears it).
void ToVariant(const Variant& value, VARIANT* out);

}  // namespace hv::com
