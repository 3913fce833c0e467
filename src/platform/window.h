#pragma once
// Window placement the front-end asks for by handle.

#include <cstdint>

namespace hv::platform {

// Puts the window above all non-topmost windows (on) or back among them (off); failures are
// ignored. Where there are no window handles this does nothing.
void SetWindowTopmost(std::int32_t window_handle, bool on);

}  // namespace hv::platform
