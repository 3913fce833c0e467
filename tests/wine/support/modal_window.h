#pragma once
// Finding and answering a modal dialog of the thread under test from a second thread, with
// every wait bounded: a test that misses its dialog must fail, never leave the client hanging
// in a modal loop until the run's time-out.

#include <windows.h>

namespace hv::wine {

// The dialog captioned `caption` once it is ready for a user: shown, which a modal dialog
// only is after its controls exist and WM_INITDIALOG has filled them. A window found earlier
// may still lack its controls, and input aimed at a missing control is lost. Null when none
// is ready within `wait_ms`.
inline HWND WaitForDialog(const char* caption, int wait_ms) {
  for (int waited = 0; waited < wait_ms; waited += 25) {
    HWND dialog = FindWindowA("#32770", caption);
    if (dialog && IsWindowVisible(dialog)) return dialog;
    Sleep(25);
  }
  return nullptr;
}

inline bool WaitUntilGone(HWND window, int wait_ms) {
  for (int waited = 0; waited < wait_ms && IsWindow(window); waited += 25) Sleep(25);
  return !IsWindow(window);
}

// Ends a dialog that outlived its answer the way its Cancel button would, then by its frame,
// so the modal call returns and the test's checks report the fault.
inline void CloseStuckDialog(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (WaitUntilGone(dialog, 5000)) return;
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  WaitUntilGone(dialog, 5000);
}

}  // namespace hv::wine
