#pragma once
// RAII owners for the handle kinds the automation layer meets: plain handles (BSTR, HKEY,
// SAFEARRAY*) as aliases of the one owner template, plus a COM pointer, an owned VARIANT and a
// scoped SAFEARRAY data lock. No hand-written release on an error path.

#include <windows.h>

#include <oleauto.h>

#include <cstddef>
#include <utility>

#include "platform/win32/handle.h"

namespace hv::com {

using platform::win32::UniqueHkey;
using UniqueBstr = platform::win32::UniqueWin32<BSTR, &::SysFreeString>;
using UniqueSafeArray = platform::win32::UniqueWin32<SAFEARRAY*, &::SafeArrayDestroy>;

// A counted reference to a COM interface (or to one of our objects).
template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes a new reference.
  explicit ComPtr(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  // Adopts a reference the caller already owns.
  static ComPtr Attach(T* p) noexcept {
    ComPtr result;
    result.p_ = p;
    return result;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  T** put() noexcept {
    reset();
    return &p_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
  [[nodiscard]] T* release() noexcept { return std::exchange(p_, nullptr); }
  void reset() noexcept {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }
  // Hands out a new reference through an out parameter.
  template <class U>
  void CopyTo(U** out) const noexcept {
    *out = p_;
    if (p_) p_->AddRef();
  }
  template <class U>
  ComPtr<U> As() const noexcept {
    ComPtr<U> result;
    if (p_) p_->QueryInterface(__uuidof(U), result.put_void());
    return result;
  }

 private:
  T* p_ = nullptr;
};

// An owned VARIANT: initialised empty, cleared on destruction.
class UniqueVariant {
 public:
  UniqueVariant() noexcept { VariantInit(&v_); }
  UniqueVariant(UniqueVariant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  UniqueVariant& operator=(UniqueVariant&& other) noexcept {
    if (this != &other) {
      VariantClear(&v_);
      v_ = other.v_;
      VariantInit(&other.v_);
    }
    return *this;
  }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { VariantClear(&v_); }

  const VARIANT& get() const noexcept { return v_; }
  VARIANT* addr() noexcept { return &v_; }
  VARIANT* put() noexcept {
    VariantClear(&v_);
    return &v_;
  }
  // Moves the value out to a caller's VARIANT (which must be empty or cleared).
  void release(VARIANT* out) noexcept {
    *out = v_;
    VariantInit(&v_);
  }

 private:
  VARIANT v_;
};

// Scoped SafeArrayAccessData: the data pointer is valid while this lives.
template <class T>
class SafeArrayData {
 public:
  explicit SafeArrayData(SAFEARRAY* array) noexcept : array_(array) {
    void* data = nullptr;
    hr_ = array_ ? SafeArrayAccessData(array_, &data) : E_INVALIDARG;
    if (SUCCEEDED(hr_)) data_ = static_cast<T*>(data);
  }
  SafeArrayData(const SafeArrayData&) = delete;
  SafeArrayData& operator=(const SafeArrayData&) = delete;
  ~SafeArrayData() {
    if (data_) SafeArrayUnaccessData(array_);
  }
  HRESULT status() const noexcept { return hr_; }
  T* data() const noexcept { return data_; }
  // Element count of a one-dimensional array.
  std::size_t size() const noexcept {
    return data_ && array_->cDims >= 1 ? array_->rgsabound[0].cElements : 0;
  }

 private:
  SAFEARRAY* array_;
  T* data_ = nullptr;
  HRESULT hr_;
};

}  // namespace hv::com
