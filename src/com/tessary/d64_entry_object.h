#pragma once
// hvD64Entry on the automation interface: one directory entry, three read-only texts.

#include <memory>

#include "Tessary.h"
#include "com/common/com_object.h"
#include "tessary/readers/hvD64.h"

namespace hv::com {

class D64EntryObject : public DispatchObject<D64EntryObject, IhvD64Entry> {
 public:
  static constexpr const char* kSource = "Tessary.hvD64Entry";
  explicit D64EntryObject(std::shared_ptr<const tessary::hvD64Entry> entry) noexcept
      : entry_(std::move(entry)) {}

  HRESULT STDMETHODCALLTYPE get_Filename(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_FileSizeInBlocks(BSTR* result) override;
  HRESULT STDMETHODCALLTYPE get_FileType(BSTR* result) override;

 private:
  std::shared_ptr<const tessary::hvD64Entry> entry_;
};

}  // namespace hv::com
