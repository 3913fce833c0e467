#include "com/tessary/t64_entries_object.h"

#include <vector>

#include "com/common/enum_variant.h"
#include "com/common/returns.h"
#include "com/common/variant_convert.h"

namespace hv::com {

HRESULT STDMETHODCALLTYPE T64EntriesObject::Add(BSTR strC64Filename, IhvT64Entry** result) {
  return Guard("Add", [&] {
    Out(result);
    auto entry = entries_->Add(FromBstr(strC64Filename));
    ReturnObject(result, wrappers_.For(entry));
  });
}

HRESULT STDMETHODCALLTYPE T64EntriesObject::Count(short* result) {
  return Guard("Count", [&] { ReturnValue(result, entries_->Count()); });
}

HRESULT STDMETHODCALLTYPE T64EntriesObject::get_Entry(VARIANT* Index, IhvT64Entry** result) {
  return Guard("Entry", [&] {
    Out(result);
    if (!Index) throw ComError(E_POINTER);
    // A text is a key, a number a position.
    const Variant index = FromVariant(*Index);
    auto entry =
        index.IsString() ? entries_->EntryByKey(index.ToText()) : entries_->Entry(index.ToLong());
    ReturnObject(result, wrappers_.For(entry));
  });
}

HRESULT STDMETHODCALLTYPE T64EntriesObject::NewEnum(IUnknown** result) {
  return Guard("NewEnum", [&] {
    Out(result);
    std::vector<ComPtr<T64EntryObject>> items;
    for (const auto& entry : entries_->All()) items.push_back(wrappers_.For(entry));
    ReturnObject(result, EnumVariant::OfDispatch(items));
  });
}

HRESULT STDMETHODCALLTYPE T64EntriesObject::Remove(short* Index) {
  return Guard("Remove", [&] {
    if (!Index) throw ComError(E_POINTER);
    entries_->Remove(*Index);
    wrappers_.KeepOnly(entries_->All());
  });
}

}  // namespace hv::com
