// The modal boxes of Halvane.hvFunctions and hvShell, shown for real and answered by a second
// thread that finds each box by its caption, reads its text and presses a button, as a user
// would. Run under Xvfb by run.sh.
// argv[1]: the Windows path of a data folder the client may write into.

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "support/halvane_client.h"
#include "support/modal_window.h"

using namespace hv::wine;

namespace {

// Answers boxes captioned `caption` in turn with `buttons` (IDOK, IDCANCEL, ...), keeping the
// text each one showed. Each wait is bounded; a box that never comes ends the answering, and
// one that outlives its answer is closed and noted among the texts.
class Answerer {
 public:
  // Each box is waited for up to `wait_ms`, the first one at least 20 s.
  Answerer(std::string caption, std::vector<int> buttons, int wait_ms = 20000)
      : caption_(std::move(caption)),
        buttons_(std::move(buttons)),
        wait_ms_(wait_ms),
        thread_([this] { Run(); }) {}
  ~Answerer() {
    if (thread_.joinable()) thread_.join();
  }
  // The texts of the boxes answered, once the thread is done.
  const std::vector<std::string>& Texts() {
    if (thread_.joinable()) thread_.join();
    return texts_;
  }

 private:
  void Run() {
    int wait_ms = std::max(wait_ms_, 20000);
    for (int button : buttons_) {
      HWND box = WaitForDialog(caption_.c_str(), wait_ms);
      wait_ms = wait_ms_;
      if (!box) return;
      char text[1024] = {};
      // The message text is the static control with id 0xFFFF; wait until it is filled in.
      for (int i = 0; i < 200 && GetDlgItemTextA(box, 0xFFFF, text, sizeof text) == 0; ++i)
        Sleep(10);
      texts_.emplace_back(text);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      if (!WaitUntilGone(box, 20000)) {
        CloseStuckDialog(box);
        texts_.emplace_back("(the box stayed open after its answer)");
      }
    }
  }

  std::string caption_;
  std::vector<int> buttons_;
  int wait_ms_;
  std::vector<std::string> texts_;
  std::thread thread_;
};

std::string MissingDriveLetter() {
  for (char letter = 'Q'; letter <= 'Y'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR) return std::string(1, letter) + ":";
  }
  return "";
}

}  // namespace

HV_WINE_TEST(FileExistsShowsItsMessage) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string missing = Data("no such game.d64");
  Answerer answer("Game Check", {IDOK});
  HV_CHECK(IsFalse(fn.Get(L"FileExists", W(missing), true, L"Game Check")));
  HV_CHECK_EQ(answer.Texts(), (std::vector<std::string>{"FILE NOT FOUND: " + missing}));
  Answerer empty("Empty Name", {IDOK});
  HV_CHECK(IsFalse(fn.Get(L"FileExists", L"", true, L"Empty Name")));
  HV_CHECK_EQ(empty.Texts(), (std::vector<std::string>{"FILE NOT FOUND: NO FILENAME PASSED!"}));
}

HV_WINE_TEST(WaitForCDRomAsksUntilCancel) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  std::string drive = MissingDriveLetter();
  if (!HV_CHECK(!drive.empty())) return;
  const std::string upper = drive;
  drive[0] = static_cast<char>(drive[0] - 'A' + 'a');
  // OK tests again and asks again; Cancel gives up.
  Answerer answer("Zenvora", {IDOK, IDCANCEL});
  HV_CHECK(IsFalse(fn.Get(L"WaitForCDRom", W(drive), L"GAMES1")));
  const std::string prompt = "Insert CD: 'GAMES1' into Drive " + upper;
  HV_CHECK_EQ(answer.Texts(), (std::vector<std::string>{prompt, prompt}));
}

HV_WINE_TEST(WaitForCDRomFileAndPathPrompts) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  const std::string file = Data("cd\\A.D64");
  Answerer answer("Zenvora", {IDCANCEL});
  HV_CHECK(IsFalse(fn.Get(L"WaitForCDRomFile", W(file))));
  HV_CHECK_EQ(answer.Texts(), (std::vector<std::string>{"Insert the CD for File: '" + file + "'"}));
  const std::string folder = Data("cd folder");
  Answerer path_answer("Zenvora", {IDCANCEL});
  HV_CHECK(IsFalse(fn.Get(L"WaitForCDRomPath", W(folder))));
  HV_CHECK_EQ(path_answer.Texts(),
              (std::vector<std::string>{"Insert the CD for Path: '" + folder + "'"}));
}

HV_WINE_TEST(PlayMusicAnnouncesAMissingPlayer) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string player = Data("no player\\sidplay.exe");
  VARIANT_BOOL display = VARIANT_TRUE;
  Answerer answer("Music Box", {IDOK});
  HV_CHECK_OK(shell.Call(L"PlayMusic", W(player), W(Data("music")), L"tune.sid", L"Music Box",
                         Arg::ByRefBool(&display)));
  HV_CHECK_EQ(answer.Texts(), (std::vector<std::string>{"FILE NOT FOUND: " + player}));
}

// A typed client may pass any 16-bit value as DisplayError: only True (-1) shows the box.
HV_WINE_TEST(PlayMusicShowsNoBoxForARawOne) {
  Dispatch shell = CreateHalvane(L"Halvane.hvShell");
  const std::string player = Data("no player\\sidplay.exe");
  // A box for the 1 would be answered first and show up as a second text.
  Answerer answer("Raw One", {IDOK, IDOK}, 3000);
  VARIANT_BOOL raw_one = 1;
  HV_CHECK_OK(shell.Call(L"PlayMusic", W(player), W(Data("music")), L"tune.sid", L"Raw One",
                         Arg::ByRefBool(&raw_one)));
  VARIANT_BOOL yes = VARIANT_TRUE;
  HV_CHECK_OK(shell.Call(L"PlayMusic", W(player), W(Data("music")), L"tune.sid", L"Raw One",
                         Arg::ByRefBool(&yes)));
  HV_CHECK_EQ(answer.Texts(), (std::vector<std::string>{"FILE NOT FOUND: " + player}));
  HV_CHECK_EQ(raw_one, VARIANT_BOOL{1});  // only read
}

HV_WINE_TEST(SetAlwaysOnTopSwitchesTheTopmostStyle) {
  Dispatch fn = CreateHalvane(L"Halvane.hvFunctions");
  HWND window = CreateWindowExA(0, "STATIC", "hv topmost probe", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                100, nullptr, nullptr, nullptr, nullptr);
  if (!HV_CHECK(window != nullptr)) return;
  const auto topmost = [window] {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  const long handle = static_cast<long>(reinterpret_cast<INT_PTR>(window));
  HV_CHECK_OK(fn.Call(L"SetAlwaysOnTop", true, handle));
  HV_CHECK(topmost());
  HV_CHECK_OK(fn.Call(L"SetAlwaysOnTop", false, handle));
  HV_CHECK(!topmost());
  // A handle that names no window is ignored, as the platform's answer is.
  HV_CHECK_OK(fn.Call(L"SetAlwaysOnTop", true, 0x7FFF0000L));
  DestroyWindow(window);
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "halvane_dialogs_gui");
}
