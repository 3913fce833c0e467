#include "com/common/variant_convert.h"

#include "com/common/bstr.h"
#include "com/common/error_boundary.h"
#include "com/common/unique_resource.h"

namespace hv::com {
namespace {

const VARIANT& Unwrap(const VARIANT& value) {
  const VARIANT* v = &value;
  // A by-reference variant may wrap another by-reference variant; VB passes at most two levels.
  for (int depth = 0; V_VT(v) == (VT_BYREF | VT_VARIANT); ++depth) {
    if (depth > 4 || !V_VARIANTREF(v)) throw Error(vberr::kTypeMismatch);
    v = V_VARIANTREF(v);
  }
  return *v;
}

}  // namespace

Variant FromVariant(const VARIANT& value) {
  // VariantChangeType takes a non-const source but only reads it.
  VARIANT& v = const_cast<VARIANT&>(Unwrap(value));
  const bool byref = (V_VT(&v) & VT_BYREF) != 0;
  if (byref && !V_BYREF(&v)) throw Error(vberr::kTypeMismatch);
  switch (V_VT(&v) & ~VT_BYREF) {
    case VT_EMPTY:
      return Variant{};
    case VT_NULL:
      return Variant{Variant::Null{}};
    case VT_BOOL:
      return Variant{(byref ? *V_BOOLREF(&v) : V_BOOL(&v)) != VARIANT_FALSE};
    case VT_I2:
      return Variant{static_cast<std::int16_t>(byref ? *V_I2REF(&v) : V_I2(&v))};
    case VT_I4:
      return Variant{static_cast<std::int32_t>(byref ? *V_I4REF(&v) : V_I4(&v))};
    case VT_UI1:
      return Variant{static_cast<std::int16_t>(byref ? *V_UI1REF(&v) : V_UI1(&v))};
    case VT_R8:
      return Variant{byref ? *V_R8REF(&v) : V_R8(&v)};
    case VT_BSTR:
      return Variant{FromBstr(byref ? *V_BSTRREF(&v) : V_BSTR(&v))};
    case VT_R4:
    case VT_CY:
    case VT_DECIMAL:
    case VT_I1:
    case VT_UI2:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT: {
      // Less common numbers travel as Double, as Visual Basic widens them.
      UniqueVariant number;
      if (FAILED(VariantChangeType(number.addr(), &v, 0, VT_R8))) throw Error(vberr::kOverflow);
      return Variant{V_R8(&number.get())};
    }
    case VT_DATE: {
      UniqueVariant text;
      if (FAILED(VariantChangeType(text.addr(), &v, 0, VT_BSTR))) throw Error(vberr::kTypeMismatch);
      return Variant{FromBstr(V_BSTR(&text.get()))};
    }
    default:
      throw Error(vberr::kTypeMismatch);
  }
}

void ToVariant(const Variant& value, VARIANT* out) {
  VariantInit(out);
  std::visit(
      [out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Variant::Empty>) {
          V_VT(out) = VT_EMPTY;
        } else if constexpr (std::is_same_v<T, Variant::Null>) {
          V_VT(out) = VT_NULL;
        } else if constexpr (std::is_same_v<T, bool>) {
          V_VT(out) = VT_BOOL;
          V_BOOL(out) = v ? VARIANT_TRUE : VARIANT_FALSE;
        } else if constexpr (std::is_same_v<T, std::int16_t>) {
          V_VT(out) = VT_I2;
          V_I2(out) = v;
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
          V_VT(out) = VT_I4;
          V_I4(out) = v;
        } else if constexpr (std::is_same_v<T, double>) {
          V_VT(out) = VT_R8;
          V_R8(out) = v;
        } else {
          V_BSTR(out) = ToBstr(v).release();
          V_VT(out) = VT_BSTR;
        }
      },
      value.value());
}

void AssignThrough(VARIANT* target, const Variant& value) {
  if (!target) throw ComError(E_POINTER);
  for (int depth = 0; V_VT(target) == (VT_BYREF | VT_VARIANT); ++depth) {
    if (depth > 4 || !V_VARIANTREF(target)) throw Error(vberr::kTypeMismatch);
    target = V_VARIANTREF(target);
  }
  UniqueVariant fresh;
  ToVariant(value, fresh.addr());
  if ((V_VT(target) & VT_BYREF) == 0) {
    VariantClear(target);
    fresh.release(target);
    return;
  }
  const VARTYPE type = V_VT(target) & ~VT_BYREF;
  if (!V_BYREF(target) || (type & (VT_ARRAY | VT_VECTOR)) != 0) throw Error(vberr::kTypeMismatch);
  UniqueVariant converted;
  if (FAILED(VariantChangeType(converted.addr(), fresh.addr(), 0, type)))
    throw Error(vberr::kTypeMismatch);
  // The slot is the caller's variable of exactly `type`: free what it holds, then move in.
  switch (type) {
    case VT_BSTR:
      SysFreeString(*V_BSTRREF(target));
      *V_BSTRREF(target) = V_BSTR(&converted.get());
      V_VT(converted.addr()) = VT_EMPTY;  // ownership moved
      return;
    case VT_I2:
      *V_I2REF(target) = V_I2(&converted.get());
      return;
    case VT_I4:
      *V_I4REF(target) = V_I4(&converted.get());
      return;
    case VT_BOOL:
      *V_BOOLREF(target) = V_BOOL(&converted.get());
      return;
    case VT_R8:
      *V_R8REF(target) = V_R8(&converted.get());
      return;
    case VT_R4:
      *V_R4REF(target) = V_R4(&converted.get());
      return;
    case VT_UI1:
      *V_UI1REF(target) = V_UI1(&converted.get());
      return;
    case VT_CY:
      *V_CYREF(target) = V_CY(&converted.get());
      return;
    case VT_DATE:
      *V_DATEREF(target) = V_DATE(&converted.get());
      return;
    default:
      throw Error(vberr::kTypeMismatch);
  }
}

}  // namespace hv::com
