#pragma once
// Win32 handle kinds as owners, one alias per closing convention. Closing keeps the thread's
// last error, so a caller can still report the failure that led to the close.

#include <windows.h>

#include <cstdint>

#include "common/unique_any.h"

namespace hv::platform::win32 {

template <typename T, auto Close>
void CloseKeepingLastError(T value) noexcept {
  const DWORD last = ::GetLastError();
  static_cast<void>(Close(value));
  ::SetLastError(last);
}

// An owner of a Win32 resource whose close leaves the last error as it was.
template <typename T, auto Close, std::intptr_t Invalid = 0>
using UniqueWin32 = UniqueAny<T, &CloseKeepingLastError<T, Close>, Invalid>;

// Files and find handles: INVALID_HANDLE_VALUE (-1) means none.
using UniqueFile = UniqueWin32<HANDLE, &::CloseHandle, -1>;
using UniqueFind = UniqueWin32<HANDLE, &::FindClose, -1>;
// Process and thread handles: null, not INVALID_HANDLE_VALUE, means none.
using UniqueKernelHandle = UniqueWin32<HANDLE, &::CloseHandle>;
using UniqueHkey = UniqueWin32<HKEY, &::RegCloseKey>;

}  // namespace hv::platform::win32
