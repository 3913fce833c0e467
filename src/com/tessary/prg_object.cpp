#include "com/tessary/prg_object.h"

#include "com/common/returns.h"

namespace hv::com {

HRESULT STDMETHODCALLTYPE PrgObject::Load(BSTR strFilename, VARIANT_BOOL* result) {
  return Guard("Load", [&] {
    Out(result);
    ReturnBool(result, reader_.Load(FromBstr(strFilename)));
  });
}

HRESULT STDMETHODCALLTYPE PrgObject::get_SYSAddress(BSTR* result) {
  return Guard("SYSAddress", [&] { ReturnText(result, reader_.SYSAddress()); });
}

HRESULT STDMETHODCALLTYPE PrgObject::get_FileSize(BSTR* result) {
  return Guard("FileSize", [&] { ReturnText(result, reader_.FileSize()); });
}

HRESULT STDMETHODCALLTYPE PrgObject::get_LoadAddress(BSTR* result) {
  return Guard("LoadAddress", [&] { ReturnText(result, reader_.LoadAddress()); });
}

}  // namespace hv::com
