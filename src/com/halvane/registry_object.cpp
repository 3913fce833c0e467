#include "com/halvane/registry_object.h"

#include <string>

#include "com/common/bstr.h"
#include "com/common/returns.h"
#include "com/common/variant_convert.h"

namespace hv::com {
namespace {

template <class T>
T& Ref(T* p) {
  if (!p) throw ComError(E_POINTER);
  return *p;
}

// An optional by-reference argument the caller left out.
bool Omitted(const VARIANT* v) {
  return !v || (V_VT(v) == VT_ERROR && V_ERROR(v) == DISP_E_PARAMNOTFOUND);
}

}  // namespace

HRESULT STDMETHODCALLTYPE RegistryObject::SaveSetting(BSTR* sRootKey, BSTR* sKeyName,
                                                      BSTR* sValueName, VARIANT* vValueSetting,
                                                      VARIANT_BOOL* bStringType,
                                                      VARIANT_BOOL* result) {
  return Guard("SaveSetting", [&] {
    Out(result);
    std::string root = FromBstr(Ref(sRootKey));
    std::string key = FromBstr(Ref(sKeyName));
    std::string name = FromBstr(Ref(sValueName));
    Variant value = FromVariant(Ref(vValueSetting));
    // Passed through as it came: only True (-1) selects a string.
    std::int16_t string_type = Ref(bStringType);
    ReturnBool(result, core_.SaveSetting(root, key, name, value, string_type));
  });
}

HRESULT STDMETHODCALLTYPE RegistryObject::GetSetting(BSTR* sRootKey, BSTR* sKeyName,
                                                     BSTR* sValueName, VARIANT* vValue,
                                                     VARIANT_BOOL* bStringType, VARIANT* vDefault,
                                                     VARIANT_BOOL* result) {
  return Guard("GetSetting", [&] {
    Out(result);
    std::string root = FromBstr(Ref(sRootKey));
    std::string key = FromBstr(Ref(sKeyName));
    std::string name = FromBstr(Ref(sValueName));
    std::int16_t string_type = Ref(bStringType);
    Ref(vValue);
    // vValue is only written: the core leaves it alone on some failures, and then so do we.
    Variant value{Variant::Null{}};
    const Variant untouched = value;
    bool ok = false;
    if (Omitted(vDefault)) {
      ok = core_.GetSetting(root, key, name, value, string_type);
    } else {
      Variant fallback = FromVariant(*vDefault);
      ok = core_.GetSetting(root, key, name, value, string_type, fallback);
    }
    if (!(value == untouched)) AssignThrough(vValue, value);
    ReturnBool(result, ok);
  });
}

}  // namespace hv::com
