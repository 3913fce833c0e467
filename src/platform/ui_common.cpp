#include "platform/ui.h"

namespace hv::platform {

int DecliningAnswer(int style) noexcept {
  switch (style & 0xF) {
    case 1:
      return button::kCancel;  // OK, Cancel
    case 2:
      return button::kAbort;  // Abort, Retry, Ignore
    case 3:
      return button::kCancel;  // Yes, No, Cancel
    case 4:
      return button::kNo;  // Yes, No
    case 5:
      return button::kCancel;  // Retry, Cancel
    default:
      return button::kOk;
  }
}

}  // namespace hv::platform
