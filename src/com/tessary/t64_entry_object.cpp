#include "com/tessary/t64_entry_object.h"

#include "com/common/returns.h"

namespace hv::com {

HRESULT STDMETHODCALLTYPE T64EntryObject::get_C64Filename(BSTR* result) {
  return Guard("C64Filename", [&] { ReturnText(result, entry_->C64Filename()); });
}

}  // namespace hv::com
