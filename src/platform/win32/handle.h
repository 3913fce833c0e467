#pragma once
// Move-only owners of Win32 handles, one per closing convention.

#include <windows.h>

#include <utility>

namespace hv::platform::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, Traits::Invalid());
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const noexcept { return h_; }
  bool valid() const noexcept { return h_ != Traits::Invalid(); }
  void reset(Handle h = Traits::Invalid()) noexcept {
    if (valid()) {
      const DWORD last = ::GetLastError();  // closing must not hide the failure being reported
      Traits::Close(h_);
      ::SetLastError(last);
    }
    h_ = h;
  }

 private:
  Handle h_ = Traits::Invalid();
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::FindClose(h); }
};

// Process and thread handles: null, not INVALID_HANDLE_VALUE, means none.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;

}  // namespace hv::platform::win32
