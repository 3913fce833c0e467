#pragma once
// hvT64Entry on the automation interface: one C64 file name of a tape directory.

#include <memory>

#include "Tessary.h"
#include "com/common/com_object.h"
#include "tessary/readers/hvT64.h"

namespace hv::com {

class T64EntryObject : public DispatchObject<T64EntryObject, IhvT64Entry> {
 public:
  static constexpr const char* kSource = "Tessary.hvT64Entry";
  explicit T64EntryObject(std::shared_ptr<const tessary::hvT64Entry> entry) noexcept
      : entry_(std::move(entry)) {}

  HRESULT STDMETHODCALLTYPE get_C64Filename(BSTR* result) override;

 private:
  std::shared_ptr<const tessary::hvT64Entry> entry_;
};

}  // namespace hv::com
