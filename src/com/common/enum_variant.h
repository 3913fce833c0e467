#pragma once
// The enumerator every collection's NewEnum hands out: IEnumVARIANT over a snapshot of the
// items taken when it was made, so a collection changed during a for-each loop cannot break it.

#include <oaidl.h>

#include <memory>
#include <vector>

#include "com/common/com_object.h"

namespace hv::com {

using VariantSnapshot = std::vector<UniqueVariant>;

class EnumVariant : public ComObject<EnumVariant, IEnumVARIANT> {
 public:
  EnumVariant(std::shared_ptr<const VariantSnapshot> items, std::size_t position) noexcept
      : items_(std::move(items)), position_(position) {}

  // Copies of the given objects, each as a VT_DISPATCH item.
  template <class Range>
  static ComPtr<EnumVariant> OfDispatch(const Range& objects) {
    auto items = std::make_shared<VariantSnapshot>();
    items->reserve(objects.size());
    for (const auto& object : objects) {
      UniqueVariant& item = items->emplace_back();
      V_VT(item.addr()) = VT_DISPATCH;
      object.CopyTo(&V_DISPATCH(item.addr()));
    }
    return MakeObject<EnumVariant>(std::move(items), 0);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override;

 private:
  std::shared_ptr<const VariantSnapshot> items_;
  std::size_t position_;
};

}  // namespace hv::com
