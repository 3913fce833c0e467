#pragma once
// One automation object per core object. A Visual Basic collection hands out the objects it
// holds, so its clients may find that `coll(1) Is coll(1)` and that an enumerated item is the
// indexed one; a new wrapper per call would make both false.

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "com/common/com_object.h"

namespace hv::com {

template <class Core, class Wrapper>
class WrapperCache {
 public:
  // The object for `core`, made on first request.
  const ComPtr<Wrapper>& For(const std::shared_ptr<Core>& core) {
    ComPtr<Wrapper>& slot = wrappers_[core.get()];
    if (!slot) slot = MakeObject<Wrapper>(core);
    return slot;
  }

  // Lets go of the objects of items no longer in `live`, after a removal.
  void KeepOnly(const std::vector<std::shared_ptr<Core>>& live) {
    std::unordered_set<const Core*> keep;
    for (const auto& item : live) keep.insert(item.get());
    std::erase_if(wrappers_, [&](const auto& slot) { return !keep.contains(slot.first); });
  }

 private:
  // The wrappers hold their core objects, so no key outlives its object.
  std::unordered_map<const Core*, ComPtr<Wrapper>> wrappers_;
};

}  // namespace hv::com
