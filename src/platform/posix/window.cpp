#include "platform/window.h"

namespace hv::platform {

// No window handles here: nothing to place.
void SetWindowTopmost(std::int32_t, bool) {}

}  // namespace hv::platform
