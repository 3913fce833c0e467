#pragma once
// hvRegistry on the automation interface: one setting at a time, every argument by reference.

#include "Halvane.h"
#include "com/common/com_object.h"
#include "halvane/functions/hvRegistry.h"

namespace hv::com {

class RegistryObject : public DispatchObject<RegistryObject, IhvRegistry> {
 public:
  static constexpr const char* kSource = "Halvane.hvRegistry";

  HRESULT STDMETHODCALLTYPE SaveSetting(BSTR* sRootKey, BSTR* sKeyName, BSTR* sValueName,
                                        VARIANT* vValueSetting, VARIANT_BOOL* bStringType,
                                        VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE GetSetting(BSTR* sRootKey, BSTR* sKeyName, BSTR* sValueName,
                                       VARIANT* vValue, VARIANT_BOOL* bStringType,
                                       VARIANT* vDefault, VARIANT_BOOL* result) override;

 private:
  ::hv::hvRegistry core_;
};

}  // namespace hv::com
