#pragma once
// One-off cleanup for what no owner type holds, such as a temporary file to remove unless the
// work succeeded: `ScopeExit remove([&] { ... });` runs at the end of the scope, however it is
// left, unless `remove.release()` dismissed it first.

#include <type_traits>
#include <utility>

namespace hv {

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F cleanup) noexcept(std::is_nothrow_move_constructible_v<F>)
      : cleanup_(std::move(cleanup)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() {
    if (armed_) cleanup_();
  }

  // The cleanup will not run: what it would undo is to be kept.
  void release() noexcept { armed_ = false; }

 private:
  F cleanup_;
  bool armed_ = true;
};

}  // namespace hv
