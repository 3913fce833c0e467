#include "com/common/byref_bridge.h"

#include <cstring>
#include <vector>

#include "com/common/error_boundary.h"
#include "com/common/unique_resource.h"

namespace hv::com {
namespace {

// A FUNCDESC or TYPEATTR, handed back to its type information when done.
template <class T, void (STDMETHODCALLTYPE ITypeInfo::*Release)(T*)>
class TypeInfoHeld {
 public:
  explicit TypeInfoHeld(ITypeInfo* info) noexcept : info_(info) {}
  TypeInfoHeld(TypeInfoHeld&& other) noexcept : info_(other.info_), p_(other.p_) {
    other.p_ = nullptr;
  }
  TypeInfoHeld(const TypeInfoHeld&) = delete;
  TypeInfoHeld& operator=(const TypeInfoHeld&) = delete;
  TypeInfoHeld& operator=(TypeInfoHeld&&) = delete;
  ~TypeInfoHeld() {
    if (p_) (info_->*Release)(p_);
  }
  T** put() noexcept { return &p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  ITypeInfo* info_;
  T* p_ = nullptr;
};
using FuncDesc = TypeInfoHeld<FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;
using TypeAttr = TypeInfoHeld<TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;

// Chains of by-reference variants deeper than this are no caller's variable.
constexpr int kMaxRefDepth = 4;

// An argument passed as a temporary of the declared type, and the caller's variant it stands
// for.
struct Bridged {
  VARIANT* caller = nullptr;
  UniqueVariant value;   // what the member reads and writes
  UniqueVariant passed;  // a copy of the value handed in
  BSTR passed_text = nullptr;
};

// Whether a call needs the bridge: a by-reference variant, or a text passed by value, which may
// land on a parameter the member takes by reference.
bool NeedsBridge(const DISPPARAMS& params) noexcept {
  for (UINT k = 0; k < params.cArgs; ++k) {
    const VARTYPE vt = V_VT(&params.rgvarg[k]);
    if (vt == (VT_BYREF | VT_VARIANT) || vt == VT_BSTR) return true;
  }
  return false;
}

// The member `id` that a call with `flags` reaches: a method and a property get share an id.
FuncDesc FindMember(ITypeInfo* info, DISPID id, WORD flags) {
  TypeAttr attr(info);
  if (FAILED(info->GetTypeAttr(attr.put())) || !attr) return FuncDesc(info);
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FuncDesc desc(info);
    if (FAILED(info->GetFuncDesc(i, desc.put())) || !desc) continue;
    if (desc->memid == id && (desc->invkind & flags) != 0) return desc;
  }
  return FuncDesc(info);
}

// The parameter (0 = leftmost) that rgvarg[k] fills, -1 for none.
int ParameterOf(const DISPPARAMS& params, UINT k, SHORT count) noexcept {
  if (k >= params.cNamedArgs) return static_cast<int>(params.cArgs - 1 - k);
  if (!params.rgdispidNamedArgs) return -1;
  const DISPID named = params.rgdispidNamedArgs[k];
  return named == DISPID_PROPERTYPUT ? count - 1 : named;
}

// The type a variant can be converted to and stand in for, VT_EMPTY for any other (variants,
// objects, arrays, records). Enumerations are 32-bit integers.
VARTYPE ScalarType(ITypeInfo* info, const TYPEDESC& type, int depth) {
  switch (type.vt) {
    case VT_BSTR:
    case VT_BOOL:
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
      return type.vt;
    case VT_USERDEFINED:
      break;
    default:
      return VT_EMPTY;
  }
  ComPtr<ITypeInfo> ref;
  if (depth > kMaxRefDepth || FAILED(info->GetRefTypeInfo(type.hreftype, ref.put())) || !ref)
    return VT_EMPTY;
  TypeAttr attr(ref.get());
  if (FAILED(ref->GetTypeAttr(attr.put())) || !attr) return VT_EMPTY;
  if (attr->typekind == TKIND_ENUM) return VT_I4;
  if (attr->typekind == TKIND_ALIAS) return ScalarType(ref.get(), attr->tdescAlias, depth + 1);
  return VT_EMPTY;
}

// The declared type behind an [in, out] or [out] pointer parameter, VT_EMPTY when it is none
// this bridge handles.
VARTYPE ReferencedType(ITypeInfo* info, const ELEMDESC& param) {
  const USHORT flags = param.paramdesc.wParamFlags;
  if ((flags & PARAMFLAG_FOUT) == 0 || (flags & PARAMFLAG_FRETVAL) != 0) return VT_EMPTY;
  if (param.tdesc.vt != VT_PTR || !param.tdesc.lptdesc) return VT_EMPTY;
  return ScalarType(info, *param.tdesc.lptdesc, 0);
}

Bridged* SameVariable(std::vector<Bridged>& bridged, const VARIANT* caller, VARTYPE type) {
  for (Bridged& b : bridged) {
    if (b.caller && b.caller == caller && V_VT(b.value.addr()) == type) return &b;
  }
  return nullptr;
}

bool SameText(BSTR a, BSTR b) noexcept {
  const UINT n = SysStringByteLen(a);
  return n == SysStringByteLen(b) && (n == 0 || std::memcmp(a, b, n) == 0);
}

// Whether the member wrote through the reference: a new text, or a different number.
bool Written(Bridged& b) noexcept {
  VARIANT* now = b.value.addr();
  VARIANT* before = b.passed.addr();
  if (V_VT(now) == VT_BSTR)
    return V_BSTR(now) != b.passed_text || !SameText(V_BSTR(now), V_BSTR(before));
  return VarCmp(now, before, LOCALE_USER_DEFAULT, 0) != static_cast<HRESULT>(VARCMP_EQ);
}

HRESULT Invoke(ITypeInfo* info, void* object, DISPID id, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* excep, UINT* arg_err) {
  FuncDesc member = FindMember(info, id, flags);
  if (!member) return info->Invoke(object, id, flags, params, result, excep, arg_err);

  std::vector<VARIANTARG> args(params->rgvarg, params->rgvarg + params->cArgs);
  std::vector<Bridged> bridged;
  bridged.reserve(params->cArgs);  // the arguments point into it: it must never move
  for (UINT k = 0; k < params->cArgs; ++k) {
    VARIANT& arg = args[k];
    const bool text_value = V_VT(&arg) == VT_BSTR;
    if (V_VT(&arg) != (VT_BYREF | VT_VARIANT) && !text_value) continue;
    const int p = ParameterOf(*params, k, member->cParams);
    if (p < 0 || p >= member->cParams) continue;
    const VARTYPE type = ReferencedType(info, member->lprgelemdescParam[p]);
    if (type == VT_EMPTY) continue;
    if (text_value) {
      // A text passed by value stays the caller's: the member, which may free what it is given
      // and write another, works on a copy that nobody sees afterwards. (Wine's dispatcher
      // would lend it the caller's own text, which the caller then frees a second time.)
      if (type != VT_BSTR) continue;
      Bridged& b = bridged.emplace_back();
      if (FAILED(VariantCopy(b.value.addr(), &arg))) return E_OUTOFMEMORY;
      V_VT(&arg) = VT_BYREF | VT_BSTR;
      V_BYREF(&arg) = &V_BSTR(b.value.addr());
      continue;
    }

    VARIANT* target = V_VARIANTREF(&arg);
    for (int depth = 0; target && V_VT(target) == (VT_BYREF | VT_VARIANT); ++depth)
      target = depth < kMaxRefDepth ? V_VARIANTREF(target) : nullptr;
    if (target && V_VT(target) == (VT_BYREF | type)) {
      arg = *target;  // a variant holding a typed reference: the member writes there itself
      continue;
    }
    // One variable passed twice for the same type shares its stand-in, as a typed caller's two
    // pointers to one variable would: the member sees its own first write through the second.
    if (Bridged* same = SameVariable(bridged, target, type)) {
      V_VT(&arg) = static_cast<VARTYPE>(VT_BYREF | type);
      V_BYREF(&arg) = &V_BSTR(same->value.addr());
      continue;
    }
    Bridged& b = bridged.emplace_back();
    HRESULT hr = !target || V_ISBYREF(target) ? DISP_E_TYPEMISMATCH
                                              : VariantChangeType(b.value.addr(), target, 0, type);
    if (SUCCEEDED(hr)) hr = VariantCopy(b.passed.addr(), b.value.addr());
    if (FAILED(hr)) {
      if (arg_err) *arg_err = k;
      // A number too large for the declared type is an overflow, as it is when passed by value.
      return hr == DISP_E_OVERFLOW || hr == E_OUTOFMEMORY ? hr : DISP_E_TYPEMISMATCH;
    }
    b.caller = target;
    if (type == VT_BSTR) b.passed_text = V_BSTR(b.value.addr());
    V_VT(&arg) = static_cast<VARTYPE>(VT_BYREF | type);
    V_BYREF(&arg) = &V_BSTR(b.value.addr());  // every member of the value union starts here
  }

  DISPPARAMS typed{args.data(), params->rgdispidNamedArgs, params->cArgs, params->cNamedArgs};
  const HRESULT hr = info->Invoke(object, id, flags, &typed, result, excep, arg_err);
  // Written back when the member ran, even when it then raised an error: a typed caller would
  // see those writes too. A call the dispatcher refused never reached the member, and what the
  // dispatcher did to the stand-ins on its way out is not the caller's business.
  if (FAILED(hr) && hr != DISP_E_EXCEPTION) return hr;
  for (Bridged& b : bridged) {
    if (!b.caller || !Written(b)) continue;
    VariantClear(b.caller);
    b.value.release(b.caller);
  }
  return hr;
}

}  // namespace

HRESULT InvokeBridged(ITypeInfo* info, void* object, DISPID id, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* excep, UINT* arg_err) noexcept {
  if (!info) return E_UNEXPECTED;
  if (!params || !params->rgvarg || !NeedsBridge(*params))
    return info->Invoke(object, id, flags, params, result, excep, arg_err);
  try {
    return Invoke(info, object, id, flags, params, result, excep, arg_err);
  } catch (...) {
    return CaughtHResult();
  }
}

}  // namespace hv::com
