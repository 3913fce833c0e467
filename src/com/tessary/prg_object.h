#pragma once
// hvPRG on the automation interface: size and load address of a program file.

#include "Tessary.h"
#include "com/common/com_object.h"
#include "tessary/readers/hvPRG.h"

namespace hv::com {

class PrgObject : public DispatchObject<PrgObject, IhvPRG> {
 public:
  static constexpr const char* kSource = "Tessary.hvPRG";

  HRESULT STDMETHODCALLTYPE Load(BSTR strFilename, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_SYSAddress(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_FileSize(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_LoadAddress(BSTR* result) override;

 private:
  tessary::hvPRG reader_;
};

}  // namespace hv::com
