#pragma once
// hvD64Entries on the automation interface: the 1-based directory collection.

#include <memory>

#include "Tessary.h"
#include "com/common/com_object.h"
#include "com/common/wrapper_cache.h"
#include "com/tessary/d64_entry_object.h"
#include "tessary/readers/hvD64.h"

namespace hv::com {

class D64EntriesObject : public DispatchObject<D64EntriesObject, IhvD64Entries> {
 public:
  static constexpr const char* kSource = "Tessary.hvD64Entries";
  explicit D64EntriesObject(std::shared_ptr<tessary::hvD64Entries> entries) noexcept
      : entries_(std::move(entries)) {}

  HRESULT STDMETHODCALLTYPE Add(BSTR Filename, BSTR FileSize, BSTR FileType,
                                IhvD64Entry** result) override;
  HRESULT STDMETHODCALLTYPE Count(short* result) override;
  HRESULT STDMETHODCALLTYPE Entry(short Index, IhvD64Entry** result) override;
  HRESULT STDMETHODCALLTYPE NewEnum(IUnknown** result) override;

 private:
  std::shared_ptr<tessary::hvD64Entries> entries_;
  WrapperCache<tessary::hvD64Entry, D64EntryObject> wrappers_;
};

}  // namespace hv::com
