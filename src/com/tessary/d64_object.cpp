#include "com/tessary/d64_object.h"

#include "com/common/returns.h"

namespace hv::com {

HRESULT STDMETHODCALLTYPE D64Object::get_DiskID(BSTR* result) {
  return Guard("DiskID", [&] { ReturnText(result, reader_.DiskID()); });
}

HRESULT STDMETHODCALLTYPE D64Object::get_DiskName(BSTR* result) {
  return Guard("DiskName", [&] { ReturnText(result, reader_.DiskName()); });
}

HRESULT STDMETHODCALLTYPE D64Object::get_Entries(IhvD64Entries** result) {
  return Guard("Entries", [&] {
    Out(result);
    if (!entries_) entries_ = MakeObject<D64EntriesObject>(reader_.Entries());
    ReturnObject(result, entries_);
  });
}

HRESULT STDMETHODCALLTYPE D64Object::Load(BSTR strFilename, VARIANT_BOOL* result) {
  return Guard("Load", [&] {
    Out(result);
    ReturnBool(result, reader_.Load(FromBstr(strFilename)));
  });
}

}  // namespace hv::com
