#include "platform/ui.h"

#include <windows.h>

namespace hv::platform {
namespace {

class WindowsUserInterface final : public UserInterface {
 public:
  int Show(const std::string& text, const std::string& caption, int style) override {
    return ::MessageBoxA(::GetActiveWindow(), text.c_str(), caption.c_str(),
                         static_cast<UINT>(style));
  }
  // What the front-end's DoEvents does: drain the thread's queue once.
  void ProcessPendingMessages() override {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
};

}  // namespace

UserInterface& DefaultUserInterface() {
  static WindowsUserInterface ui;
  return ui;
}

}  // namespace hv::platform
