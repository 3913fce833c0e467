#include "com/tessary/d64_entries_object.h"

#include <vector>

#include "com/common/enum_variant.h"
#include "com/common/returns.h"

namespace hv::com {

HRESULT STDMETHODCALLTYPE D64EntriesObject::Add(BSTR Filename, BSTR FileSize, BSTR FileType,
                                                IhvD64Entry** result) {
  return Guard("Add", [&] {
    Out(result);
    auto entry = entries_->Add(FromBstr(Filename), FromBstr(FileSize), FromBstr(FileType));
    ReturnObject(result, wrappers_.For(entry));
  });
}

HRESULT STDMETHODCALLTYPE D64EntriesObject::Count(short* result) {
  return Guard("Count", [&] { ReturnValue(result, entries_->Count()); });
}

HRESULT STDMETHODCALLTYPE D64EntriesObject::Entry(short Index, IhvD64Entry** result) {
  return Guard("Entry", [&] {
    Out(result);
    ReturnObject(result, wrappers_.For(entries_->Entry(Index)));
  });
}

HRESULT STDMETHODCALLTYPE D64EntriesObject::NewEnum(IUnknown** result) {
  return Guard("NewEnum", [&] {
    Out(result);
    std::vector<ComPtr<D64EntryObject>> items;
    for (const auto& entry : entries_->All()) items.push_back(wrappers_.For(entry));
    ReturnObject(result, EnumVariant::OfDispatch(items));
  });
}

}  // namespace hv::com
