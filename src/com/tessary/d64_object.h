#pragma once
// hvD64 on the automation interface: the D64 directory reader.

#include "Tessary.h"
#include "com/common/com_object.h"
#include "com/tessary/d64_entries_object.h"
#include "tessary/readers/hvD64.h"

namespace hv::com {

class D64Object : public DispatchObject<D64Object, IhvD64> {
 public:
  static constexpr const char* kSource = "Tessary.hvD64";

  HRESULT STDMETHODCALLTYPE get_DiskID(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_DiskName(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_Entries(IhvD64Entries** result) override;
  HRESULT STDMETHODCALLTYPE Load(BSTR strFilename, VARIANT_BOOL* result) override;

 private:
  tessary::hvD64 reader_;
  ComPtr<D64EntriesObject> entries_;  // made on first request, then always the same object
};

}  // namespace hv::com
