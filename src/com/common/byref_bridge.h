#pragma once
// Script clients (VBScript, PowerShell, ...) keep every variable as a variant, so a variable
// passed by reference arrives as VT_BYREF|VT_VARIANT. The type information's Invoke refuses
// that for a typed by-reference parameter ([in, out] BSTR*, short*, long*, VARIANT_BOOL*, an
// enumeration pointer) with "Type mismatch". InvokeBridged runs the call through the type
// information all the same: each such argument goes to the member as a temporary of the
// declared type, and what the member wrote there goes back into the caller's variant, as the
// declared type. Typed references (VT_BYREF|VT_BSTR, ...) and values pass through untouched, so
// typed clients see no change.

#include <windows.h>

#include <oaidl.h>

namespace hv::com {

// ITypeInfo::Invoke on `object` with the by-reference variants bridged. A referenced value
// that does not convert to the declared type gives DISP_E_TYPEMISMATCH (DISP_E_OVERFLOW for a
// number out of its range), with `arg_err` set to its index in rgvarg. An argument the member did
// not write keeps the caller's variant as it was, type included.
HRESULT InvokeBridged(ITypeInfo* info, void* object, DISPID id, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* excep, UINT* arg_err) noexcept;

}  // namespace hv::com
