#pragma once
// The base templates every automation class derives from. A class names its interfaces and
// nothing more: ComObject answers IUnknown for them; DispatchObject adds IDispatch, forwarded
// to the module's cached type information (with script variables passed by reference bridged to
// typed parameters, byref_bridge.h), and ISupportErrorInfo, plus Guard() to run each member body
// inside the error boundary.
//
//   class FooObject : public DispatchObject<FooObject, IFoo> {
//    public:
//     static constexpr const char* kSource = "Server.Foo";
//     HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) override {
//       return Guard("Name", [&] { *Out(result) = ToBstr(core_.Name()).release(); });
//     }
//   };
//   ComPtr<FooObject> foo = MakeObject<FooObject>(...);

#include <windows.h>

#include <oaidl.h>

#include <atomic>
#include <type_traits>
#include <utility>

#include "com/common/byref_bridge.h"
#include "com/common/error_boundary.h"
#include "com/common/module.h"
#include "com/common/unique_resource.h"

namespace hv::com {

template <class Derived, class Primary, class... Others>
class ComObject : public Primary, public Others... {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown) {
      *ppv = static_cast<IUnknown*>(static_cast<Primary*>(this));
    } else if (!(Try<Primary>(riid, ppv) || (Try<Others>(riid, ppv) || ...))) {
      if (riid == IID_IDispatch) *ppv = FirstDispatch<Primary, Others...>();
      if (!*ppv) return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long n = --refs_;
    if (n == 0) delete static_cast<Derived*>(this);
    return static_cast<ULONG>(n);
  }

  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

 protected:
  ComObject() noexcept { ObjectCreated(); }
  virtual ~ComObject() { ObjectDestroyed(); }

 private:
  template <class I>
  bool Try(REFIID riid, void** ppv) noexcept {
    if (riid != __uuidof(I)) return false;
    *ppv = static_cast<I*>(this);
    return true;
  }
  template <class I, class... Rest>
  IDispatch* FirstDispatch() noexcept {
    if constexpr (std::is_base_of_v<IDispatch, I>) {
      return static_cast<I*>(this);
    } else if constexpr (sizeof...(Rest) > 0) {
      return FirstDispatch<Rest...>();
    } else {
      return nullptr;
    }
  }

  std::atomic<long> refs_{1};
};

// Creates an object with one reference, owned by the returned pointer.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>::Attach(new T(std::forward<Args>(args)...));
}

// Creates an object and hands out the interface asked for (a class factory's job).
template <class T>
HRESULT CreateInstance(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  try {
    return MakeObject<T>()->QueryInterface(riid, ppv);
  } catch (...) {
    return CaughtHResult();
  }
}

// `Interface` is the class's dual interface; `Extra` are further interfaces (connection points,
// class info) a derived class or mixin implements.
template <class Derived, class Interface, class... Extra>
class DispatchObject : public ComObject<Derived, Interface, ISupportErrorInfo, Extra...> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return ModuleTypeInfo(__uuidof(Interface), info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    HRESULT hr = ModuleTypeInfo(__uuidof(Interface), info.put());
    return FAILED(hr) ? hr : info->GetIDsOfNames(names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* arg_err) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    HRESULT hr = ModuleTypeInfo(__uuidof(Interface), info.put());
    if (FAILED(hr)) return hr;
    return InvokeBridged(info.get(), static_cast<Interface*>(this), id, flags, params, result,
                         excep, arg_err);
  }
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == __uuidof(Interface) ? S_OK : S_FALSE;
  }

 protected:
  DispatchObject() = default;

  // Runs a member body inside the error boundary, named for traces and error objects.
  template <class Body>
  HRESULT Guard(const char* member, Body&& body) noexcept {
    return ::hv::com::Guard(__uuidof(Interface), Derived::kSource, member,
                            std::forward<Body>(body));
  }
};

}  // namespace hv::com
