#include "com/tessary/p00_object.h"

#include "com/common/returns.h"

namespace hv::com {

HRESULT STDMETHODCALLTYPE P00Object::Load(BSTR strFilename, VARIANT_BOOL* result) {
  return Guard("Load", [&] {
    Out(result);
    ReturnBool(result, reader_.Load(FromBstr(strFilename)));
  });
}

HRESULT STDMETHODCALLTYPE P00Object::get_Filename(BSTR* result) {
  return Guard("Filename", [&] { ReturnText(result, reader_.Filename()); });
}

HRESULT STDMETHODCALLTYPE P00Object::get_FileSize(BSTR* result) {
  return Guard("FileSize", [&] { ReturnText(result, reader_.FileSize()); });
}

HRESULT STDMETHODCALLTYPE P00Object::get_Signature(BSTR* result) {
  return Guard("Signature", [&] { ReturnText(result, reader_.Signature()); });
}

}  // namespace hv::com
