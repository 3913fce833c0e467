#pragma once
// Pieces for the rare member whose IDispatch::Invoke is written by hand, because the type
// information cannot carry its arguments (a record array on Wine): reading the positional
// arguments of a call and reporting the error object in the caller's EXCEPINFO.

#include <windows.h>

#include <oaidl.h>

#include <functional>

namespace hv::com {

// Argument `index` (0 = leftmost) of a call. Named arguments
// are matched by their dispatch id (the parameter's position); positional ones sit in rgvarg
// right to left behind them. Null when the caller did not pass it.
const VARIANT* CallArgument(const DISPPARAMS* params, UINT index);

// Hands a failed member's HRESULT to the caller as Invoke does: when the member set an error
// object, its source and description fill `excep` and the result is DISP_E_EXCEPTION.
HRESULT InvokeResult(HRESULT hr, EXCEPINFO* excep) noexcept;

// A one-dimensional array of records as a Visual Basic caller passes it: by reference
// (VT_BYREF|VT_ARRAY|VT_RECORD), by value (VT_ARRAY|VT_RECORD), or a by-reference variant
// wrapping either. Returns the array, null when it was never dimensioned; anything that is no
// array of records raises 13 "Type mismatch".
SAFEARRAY* RecordArrayArgument(const VARIANT& arg);

// Walks a record array after checking it has one dimension, holds records of id `record` and
// elements of `element_size` bytes (13 "Type mismatch" otherwise). `each` gets each element in
// index order. Returns the lower bound.
LONG ForEachRecord(SAFEARRAY* array, REFGUID record, ULONG element_size,
                   const std::function<void(const void*)>& each);

}  // namespace hv::com
