#pragma once
// A move-only owner of one resource an OS or C library hands out: a descriptor, a handle, a
// pointer to be freed by a function of its own. The type, the function that closes it and the
// value that means "none" are template arguments, so each kind is a one-line alias next to the
// code that uses it, and two kinds that share a type but not a sentinel cannot be mixed up.

#include <cstdint>
#include <type_traits>
#include <utility>

namespace hv {

// `Invalid` is the value that owns nothing, as an integer: 0 (a null pointer) unless given, -1
// for a file descriptor or a Windows INVALID_HANDLE_VALUE. What `Close` returns is ignored: a
// destructor has nobody to tell. A caller who must know whether closing worked calls the close
// function itself on what release() hands back.
template <typename T, auto Close, std::intptr_t Invalid = 0>
class UniqueAny {
 public:
  static T invalid() noexcept {
    if constexpr (!std::is_pointer_v<T>) {
      return static_cast<T>(Invalid);
    } else if constexpr (Invalid == 0) {
      return nullptr;
    } else {
      return reinterpret_cast<T>(Invalid);
    }
  }

  UniqueAny() noexcept = default;
  explicit UniqueAny(T value) noexcept : value_(value) {}
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  ~UniqueAny() { reset(); }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != invalid(); }

  // For an out parameter: closes what is held, then hands out the address to fill.
  T* put() noexcept {
    reset();
    return &value_;
  }
  // For an in-out parameter the callee may replace: the address, with nothing closed.
  T* addressof() noexcept { return &value_; }

  [[nodiscard]] T release() noexcept { return std::exchange(value_, invalid()); }
  void reset(T value = invalid()) noexcept {
    const T old = std::exchange(value_, value);
    if (old != invalid()) static_cast<void>(Close(old));
  }

 private:
  T value_ = invalid();
};

}  // namespace hv
