#include "com/common/enum_variant.h"

#include <algorithm>

namespace hv::com {

HRESULT STDMETHODCALLTYPE EnumVariant::Next(ULONG count, VARIANT* out, ULONG* fetched) {
  if (fetched) *fetched = 0;
  if (!out || (!fetched && count != 1)) return E_POINTER;
  ULONG done = 0;
  for (; done < count && position_ < items_->size(); ++done) {
    VariantInit(&out[done]);
    // VariantCopy takes a non-const source but only reads it.
    HRESULT hr = VariantCopy(&out[done], const_cast<VARIANT*>(&(*items_)[position_].get()));
    if (FAILED(hr)) {
      // Nothing half-filled: give back what was copied in this call.
      for (ULONG i = 0; i < done; ++i) VariantClear(&out[i]);
      position_ -= done;
      return hr;
    }
    ++position_;
  }
  if (fetched) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE EnumVariant::Skip(ULONG count) {
  const std::size_t left = items_->size() - position_;
  position_ += std::min<std::size_t>(count, left);
  return count <= left ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE EnumVariant::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE EnumVariant::Clone(IEnumVARIANT** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  try {
    *out = MakeObject<EnumVariant>(items_, position_).release();
    return S_OK;
  } catch (...) {
    return CaughtHResult();
  }
}

}  // namespace hv::com
