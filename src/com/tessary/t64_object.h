#pragma once
// hvT64 on the automation interface: the T64 header and directory reader.

#include "Tessary.h"
#include "com/common/com_object.h"
#include "com/tessary/t64_entries_object.h"
#include "tessary/readers/hvT64.h"

namespace hv::com {

class T64Object : public DispatchObject<T64Object, IhvT64> {
 public:
  static constexpr const char* kSource = "Tessary.hvT64";

  HRESULT STDMETHODCALLTYPE get_Entries(IhvT64Entries** result) override;
  HRESULT STDMETHODCALLTYPE get_EntriesCount(LONG* result) override;
  HRESULT STDMETHODCALLTYPE get_EntriesUsed(LONG* result) override;
  HRESULT STDMETHODCALLTYPE Load(BSTR strFilename, VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_Signature(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_TapeImageName(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_Version(BSTR* result) override;

 private:
  tessary::hvT64 reader_;
  ComPtr<T64EntriesObject> entries_;  // made on first request, then always the same object
};

}  // namespace hv::com
