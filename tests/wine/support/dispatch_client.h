#pragma once
// A late-binding automation client, as a Visual Basic or script front-end drives a server:
// create by ProgID, find members by name, Invoke with variant arguments (by value or by
// reference), walk a collection through DISPID_NEWENUM, and keep what an error reported.
// Header-only so each test program is one .cpp.

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "com/common/unique_resource.h"
#include "common/error.h"  // the Visual Basic numbers a client compares Err.Number with

namespace hv::wine {

using com::ComPtr;
using com::UniqueBstr;
using com::UniqueVariant;

// COM on this thread for the life of the object (a single-threaded apartment, like VB).
class ComApartment {
 public:
  ComApartment() noexcept : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT status() const noexcept { return hr_; }

 private:
  HRESULT hr_;
};

// A BSTR of exactly these UTF-16 units (NULs included).
inline UniqueBstr MakeBstr(std::wstring_view text) {
  return UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// Windows-1252 bytes (as the core keeps text) to the UTF-16 a BSTR carries, and back.
inline std::wstring FromCp1252(std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), result.data(), n);
  return result;
}

// One argument of a call. Implicit from the usual value types; ByRef for [in, out] arguments.
class Arg {
 public:
  Arg(short value) noexcept {
    V_VT(v_.addr()) = VT_I2;
    V_I2(v_.addr()) = value;
  }
  Arg(int value) noexcept {
    V_VT(v_.addr()) = VT_I4;
    V_I4(v_.addr()) = value;
  }
  Arg(long value) noexcept : Arg(static_cast<int>(value)) {}
  Arg(double value) noexcept {
    V_VT(v_.addr()) = VT_R8;
    V_R8(v_.addr()) = value;
  }
  Arg(bool value) noexcept {
    V_VT(v_.addr()) = VT_BOOL;
    V_BOOL(v_.addr()) = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  Arg(std::wstring_view text) {
    V_VT(v_.addr()) = VT_BSTR;
    V_BSTR(v_.addr()) = MakeBstr(text).release();
  }
  Arg(const wchar_t* text) : Arg(std::wstring_view(text)) {}
  Arg(const std::wstring& text) : Arg(std::wstring_view(text)) {}
  Arg(IDispatch* object) noexcept {
    V_VT(v_.addr()) = VT_DISPATCH;
    V_DISPATCH(v_.addr()) = object;
    if (object) object->AddRef();
  }

  // VT_BYREF|VT_I2, VT_BYREF|VT_I4, VT_BYREF|VT_BSTR, VT_BYREF|VT_VARIANT: the callee may write
  // through the pointer, which the caller owns.
  static Arg ByRef(short* value) noexcept { return Arg(VT_I2, value); }
  static Arg ByRef(LONG* value) noexcept { return Arg(VT_I4, value); }
  static Arg ByRef(BSTR* value) noexcept { return Arg(VT_BSTR, value); }
  static Arg ByRef(VARIANT* value) noexcept { return Arg(VT_VARIANT, value); }
  // VT_BYREF|VT_BOOL: a typed Boolean variable (VARIANT_BOOL is a short, so it has its own name).
  static Arg ByRefBool(VARIANT_BOOL* value) noexcept { return Arg(VT_BOOL, value); }
  // VT_BYREF|VT_ARRAY|VT_RECORD: a `ByRef arr() As SomeType` argument; *value may be null
  // (an array never dimensioned).
  static Arg ByRefRecords(SAFEARRAY** value) noexcept { return Arg(VT_ARRAY | VT_RECORD, value); }
  // A variant exactly as given (copied; the caller keeps its own).
  static Arg Raw(const VARIANT& value) {
    Arg a(VT_EMPTY, nullptr);
    V_VT(a.v_.addr()) = VT_EMPTY;
    VariantCopy(a.v_.addr(), const_cast<VARIANT*>(&value));
    return a;
  }
  static Arg Missing() noexcept {
    Arg a(VT_ERROR, nullptr);
    V_VT(a.v_.addr()) = VT_ERROR;
    V_ERROR(a.v_.addr()) = DISP_E_PARAMNOTFOUND;
    return a;
  }

  VARIANT& get() noexcept { return *v_.addr(); }

 private:
  Arg(VARTYPE type, void* ref) noexcept {
    V_VT(v_.addr()) = static_cast<VARTYPE>(VT_BYREF | type);
    V_BYREF(v_.addr()) = ref;
  }
  UniqueVariant v_;
};

class Dispatch;

// What one call gave back: the HRESULT, the result value, and the error's EXCEPINFO.
struct Outcome {
  HRESULT hr = E_FAIL;
  UniqueVariant value;
  SCODE scode = 0;
  std::wstring source;
  std::wstring description;
  UINT arg_error = 0;

  bool ok() const noexcept { return SUCCEEDED(hr); }
  // The code a Visual Basic client would show as Err.Number (0x800A0009 -> 9).
  long VbNumber() const noexcept {
    SCODE code = hr == DISP_E_EXCEPTION ? scode : hr;
    return HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : code;
  }
  VARTYPE type() const noexcept { return V_VT(&value.get()); }
  std::wstring Text() const {
    if (type() != VT_BSTR || !V_BSTR(&value.get())) return {};
    return std::wstring(V_BSTR(&value.get()), SysStringLen(V_BSTR(&value.get())));
  }
  long Long() const noexcept {
    UniqueVariant n;
    if (FAILED(VariantChangeType(n.addr(), const_cast<VARIANT*>(&value.get()), 0, VT_I4)))
      return -999999;
    return V_I4(&n.get());
  }
  inline Dispatch Object() const;
};

class Dispatch {
 public:
  Dispatch() = default;
  explicit Dispatch(ComPtr<IDispatch> object) noexcept : object_(std::move(object)) {}

  // CLSIDFromProgID + CoCreateInstance(IID_IDispatch), as CreateObject does.
  static HRESULT Create(const wchar_t* prog_id, Dispatch& out) {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(prog_id, &clsid);
    if (FAILED(hr)) return hr;
    ComPtr<IDispatch> object;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void());
    if (SUCCEEDED(hr)) out = Dispatch(std::move(object));
    return hr;
  }

  IDispatch* get() const noexcept { return object_.get(); }
  explicit operator bool() const noexcept { return static_cast<bool>(object_); }
  void reset() noexcept { object_.reset(); }

  HRESULT IdOf(const wchar_t* name, DISPID& id) const {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  }

  // Arguments are given left to right, as written in a client's source.
  Outcome InvokeId(DISPID id, WORD flags, std::vector<Arg*> args = {}) const {
    Outcome out;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back((*it)->get());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID put_id = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      params.rgdispidNamedArgs = &put_id;
      params.cNamedArgs = 1;
    }
    EXCEPINFO excep{};
    out.hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, out.value.put(),
                             &excep, &out.arg_error);
    if (out.hr == DISP_E_EXCEPTION) {
      if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
      out.scode = excep.scode ? excep.scode : static_cast<SCODE>(excep.wCode);
      if (excep.bstrSource) out.source.assign(excep.bstrSource, SysStringLen(excep.bstrSource));
      if (excep.bstrDescription)
        out.description.assign(excep.bstrDescription, SysStringLen(excep.bstrDescription));
    }
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return out;
  }

  Outcome InvokeName(const wchar_t* name, WORD flags, std::vector<Arg*> args) const {
    DISPID id = 0;
    HRESULT hr = IdOf(name, id);
    if (FAILED(hr)) {
      Outcome out;
      out.hr = hr;
      return out;
    }
    return InvokeId(id, flags, std::move(args));
  }

  // A property read (or a method called for its value), as `x = obj.Name(args)` does.
  template <class... A>
  Outcome Get(const wchar_t* name, A&&... args) const {
    return Forward(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, std::forward<A>(args)...);
  }
  // A method call, as `obj.Name args` does.
  template <class... A>
  Outcome Call(const wchar_t* name, A&&... args) const {
    return Forward(name, DISPATCH_METHOD, std::forward<A>(args)...);
  }
  // A property assignment, as `obj.Name = value` does (the value last).
  template <class... A>
  Outcome Put(const wchar_t* name, A&&... args) const {
    return Forward(name, DISPATCH_PROPERTYPUT, std::forward<A>(args)...);
  }
  // The default member, as `obj(args)` does.
  template <class... A>
  Outcome Default(A&&... args) const {
    std::vector<Arg> owned;
    owned.reserve(sizeof...(A));
    (owned.emplace_back(std::forward<A>(args)), ...);
    return InvokeId(DISPID_VALUE, DISPATCH_PROPERTYGET | DISPATCH_METHOD, Pointers(owned));
  }

  // The items a for-each loop would see, through DISPID_NEWENUM and IEnumVARIANT::Next.
  HRESULT ForEach(std::vector<UniqueVariant>& items) const {
    items.clear();
    Outcome e = InvokeId(DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    if (!e.ok()) return e.hr;
    if (e.type() != VT_UNKNOWN && e.type() != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    ComPtr<IEnumVARIANT> en;
    HRESULT hr = V_UNKNOWN(&e.value.get())->QueryInterface(IID_IEnumVARIANT, en.put_void());
    if (FAILED(hr)) return hr;
    for (;;) {
      UniqueVariant item;
      ULONG fetched = 0;
      hr = en->Next(1, item.addr(), &fetched);
      if (FAILED(hr)) return hr;
      if (fetched == 0) return S_OK;
      items.push_back(std::move(item));
    }
  }

 private:
  template <class... A>
  Outcome Forward(const wchar_t* name, WORD flags, A&&... args) const {
    std::vector<Arg> owned;
    owned.reserve(sizeof...(A));
    (owned.emplace_back(std::forward<A>(args)), ...);
    return InvokeName(name, flags, Pointers(owned));
  }
  static std::vector<Arg*> Pointers(std::vector<Arg>& owned) {
    std::vector<Arg*> result;
    for (Arg& a : owned) result.push_back(&a);
    return result;
  }

  ComPtr<IDispatch> object_;
};

inline Dispatch Outcome::Object() const {
  if (type() != VT_DISPATCH || !V_DISPATCH(&value.get())) return {};
  return Dispatch(ComPtr<IDispatch>(V_DISPATCH(&value.get())));
}

// An item of a for-each walk as an object.
inline Dispatch AsObject(const UniqueVariant& item) {
  if (V_VT(&item.get()) != VT_DISPATCH || !V_DISPATCH(&item.get())) return {};
  return Dispatch(ComPtr<IDispatch>(V_DISPATCH(&item.get())));
}

// `a Is b` of Visual Basic: both are the same object (the same IUnknown).
inline bool Is(const Dispatch& a, const Dispatch& b) {
  if (!a || !b) return false;
  ComPtr<IUnknown> ua, ub;
  a.get()->QueryInterface(IID_IUnknown, ua.put_void());
  b.get()->QueryInterface(IID_IUnknown, ub.put_void());
  return ua && ua.get() == ub.get();
}

}  // namespace hv::wine
