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

// Writes an output through an [in, out] VARIANT* argument as a Visual Basic caller expects it:
// a by-reference variant is followed to the caller's own variable, and a typed by-reference
// slot (VT_BYREF|VT_BSTR, VT_BYREF|VT_I4, ...) is written in place, converted to its type
// (13 "Type mismatch" when it cannot hold the value). Anything else is replaced.
void AssignThrough(VARIANT* target, const Variant& value);

}  // namespace hv::com
