#include "platform/window.h"

#include <windows.h>

namespace hv::platform {

void SetWindowTopmost(std::int32_t window_handle, bool on) {
  // Window handles carry 32 significant bits on both Windows word sizes.
  const HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(window_handle));
  ::SetWindowPos(hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

}  // namespace hv::platform
