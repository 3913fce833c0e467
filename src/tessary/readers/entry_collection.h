#pragma once
// The ordered, 1-based entry collection that hvD64Entries and hvT64Entries share: entries
// are appended, never re-keyed, and shared with whoever holds them.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/error.h"

namespace hv::tessary {

template <class EntryT>
class EntryCollection {
 public:
  using Items = std::vector<std::shared_ptr<EntryT>>;

  // 16-bit, as the interface declares it; a collection past 32767 items overflows.
  std::int16_t Count() const {
    if (items_.size() > 32767) throw Error(vberr::kOverflow);
    return static_cast<std::int16_t>(items_.size());
  }

  // The item at a position counted from 1; any other position raises "Subscript out of range".
  std::shared_ptr<EntryT> Entry(std::int64_t index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index - 1)];
  }

  // The items in order, first added first: what an enumerator walks over.
  const Items& All() const noexcept { return items_; }

 protected:
  void Append(std::shared_ptr<EntryT> entry) { items_.push_back(std::move(entry)); }

  // Room for `more` items to come, growing geometrically so that repeated calls stay cheap.
  void Reserve(std::size_t more) {
    const std::size_t needed = items_.size() + more;
    if (needed > items_.capacity()) items_.reserve(std::max(needed, 2 * items_.capacity()));
  }

  void RemoveAt(std::int64_t index) {
    CheckIndex(index);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index - 1));
  }

 private:
  void CheckIndex(std::int64_t index) const {
    if (index < 1 || static_cast<std::uint64_t>(index) > items_.size()) {
      throw Error(vberr::kSubscriptOutOfRange);
    }
  }

  Items items_;
};

}  // namespace hv::tessary
