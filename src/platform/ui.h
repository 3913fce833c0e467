#pragma once
// Modal messages to the user and message pumping, as an injectable service: the real one is
// the default, tests install a scripted one.

#include <string>

namespace hv::platform {

// Button codes a message box answers with.
namespace button {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAbort = 3;
inline constexpr int kRetry = 4;
inline constexpr int kIgnore = 5;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace button

// Message-box styles in use.
namespace mbstyle {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kExclamation = 48;
}  // namespace mbstyle

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Shows a modal message box and returns the button the user chose.
  virtual int Show(const std::string& text, const std::string& caption, int style) = 0;
  // Processes the calling thread's pending window messages once.
  virtual void ProcessPendingMessages() = 0;
};

// The platform's own user interface (process-wide, never destroyed).
UserInterface& DefaultUserInterface();

// The answer that declines a box of `style`: Cancel where there is one, else No, else OK.
int DecliningAnswer(int style) noexcept;

}  // namespace hv::platform
