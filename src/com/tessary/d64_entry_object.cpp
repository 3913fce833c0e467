#include "com/tessary/d64_entry_object.h"

#include "com/common/returns.h"

namespace hv::com {

HRESULT STDMETHODCALLTYPE D64EntryObject::get_Filename(BSTR* result) {
  return Guard("Filename", [&] { ReturnText(result, entry_->Filename()); });
}

HRESULT STDMETHODCALLTYPE D64EntryObject::get_FileSizeInBlocks(BSTR* result) {
  return Guard("FileSizeInBlocks", [&] { ReturnText(result, entry_->FileSizeInBlocks()); });
}

HRESULT STDMETHODCALLTYPE D64EntryObject::get_FileType(BSTR* result) {
  return Guard("FileType", [&] { ReturnText(result, entry_->FileType()); });
}

}  // namespace hv::com
