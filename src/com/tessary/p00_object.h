#pragma once
// hvP00 on the automation interface: the header of a P00..P09 container.

#include "Tessary.h"
#include "com/common/com_object.h"
#include "tessary/readers/hvP00.h"

namespace hv::com {

class P00Object : public DispatchObject<P00Object, IhvP00> {
 public:
  static constexpr const char* kSource = "Tessary.hvP00";

  HRESULT STDMETHODCALLTYPE Load(BSTR strFilename, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_Filename(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_FileSize(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_Signature(BSTR* result) override;

 private:
  tessary::hvP00 reader_;
};

}  // namespace hv::com
