#pragma once
// hvT64Entries on the automation interface: the 1-based tape directory, indexed by a variant,
// with Remove for the client.

#include <memory>

#include "Tessary.h"
#include "com/common/com_object.h"
#include "com/common/wrapper_cache.h"
#include "com/tessary/t64_entry_object.h"
#include "tessary/readers/hvT64.h"

namespace hv::com {

class T64EntriesObject : public DispatchObject<T64EntriesObject, IhvT64Entries> {
 public:
  static constexpr const char* kSource = "Tessary.hvT64Entries";
  explicit T64EntriesObject(std::shared_ptr<tessary::hvT64Entries> entries) noexcept
      : entries_(std::move(entries)) {}

  HRESULT STDMETHODCALLTYPE Add(BSTR strC64Filename, IhvT64Entry** result) override;
  HRESULT STDMETHODCALLTYPE Count(short* result) override;
  HRESULT STDMETHODCALLTYPE get_Entry(VARIANT* Index, IhvT64Entry** result) override;
  HRESULT STDMETHODCALLTYPE NewEnum(IUnknown** result) override;
  HRESULT STDMETHODCALLTYPE Remove(short* Index) override;

 private:
  std::shared_ptr<tessary::hvT64Entries> entries_;
  WrapperCache<tessary::hvT64Entry, T64EntryObject> wrappers_;
};

}  // namespace hv::com
