#include "com/tessary/t64_object.h"

#include "com/common/returns.h"

namespace hv::com {

HRESULT STDMETHODCALLTYPE T64Object::get_Entries(IhvT64Entries** result) {
  return Guard("Entries", [&] {
    Out(result);
    if (!entries_) entries_ = MakeObject<T64EntriesObject>(reader_.Entries());
    ReturnObject(result, entries_);
  });
}

HRESULT STDMETHODCALLTYPE T64Object::get_EntriesCount(LONG* result) {
  return Guard("EntriesCount", [&] { ReturnValue(result, reader_.EntriesCount()); });
}

HRESULT STDMETHODCALLTYPE T64Object::get_EntriesUsed(LONG* result) {
  return Guard("EntriesUsed", [&] { ReturnValue(result, reader_.EntriesUsed()); });
}

HRESULT STDMETHODCALLTYPE T64Object::Load(BSTR strFilename, VARIANT_BOOL* result) {
  return Guard("Load", [&] {
    Out(result);
    ReturnBool(result, reader_.Load(FromBstr(strFilename)));
  });
}

HRESULT STDMETHODCALLTYPE T64Object::get_Signature(BSTR* result) {
  return Guard("Signature", [&] { ReturnText(result, reader_.Signature()); });
}

HRESULT STDMETHODCALLTYPE T64Object::get_TapeImageName(BSTR* result) {
  return Guard("TapeImageName", [&] { ReturnText(result, reader_.TapeImageName()); });
}

HRESULT STDMETHODCALLTYPE T64Object::get_Version(BSTR* result) {
  return Guard("Version", [&] { ReturnText(result, reader_.Version()); });
}

}  // namespace hv::com
