#include "platform/ui.h"

#include <windows.h>

namespace hv::platform {
namespace {

class WindowsUserInterface final : public UserInterface {
 public:
  // A box that cannot be shown (no desktop, out of resources) answers 0, or -1 on Wine without
  // a display: that declines, as nobody can answer it, or a prompt that asks until Cancel would
  // ask for ever.
  int Show(const std::string& text, const std::string& caption, int style) override {
    const int answer =
        ::MessageBoxA(::GetActiveWindow(), text.c_str(), caption.c_str(), static_cast<UINT>(style));
    return answer > 0 ? answer : DecliningAnswer(style);
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
