#pragma once
// Filling a member's [out, retval] parameter: checked and cleared first (E_POINTER for null),
// converted, and only then set, so nothing is half-filled when a conversion fails.

#include <oaidl.h>

#include <string_view>

#include "com/common/bstr.h"
#include "com/common/error_boundary.h"
#include "com/common/unique_resource.h"

namespace hv::com {

inline void ReturnText(BSTR* out, std::string_view text) {
  Out(out);
  *out = ToBstr(text).release();
}

inline void ReturnBool(VARIANT_BOOL* out, bool value) {
  *Out(out) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

template <class T, class U>
void ReturnValue(T* out, U value) {
  *Out(out) = static_cast<T>(value);
}

// Hands out a new reference to an object as the interface the member declares.
template <class I, class T>
void ReturnObject(I** out, const ComPtr<T>& object) {
  Out(out);
  object.CopyTo(out);
}

}  // namespace hv::com
