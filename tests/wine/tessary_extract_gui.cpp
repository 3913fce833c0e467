// The chooser Tessary.hvExtract shows when an archive holds several game files, shown for real
// under Xvfb and answered from a second thread as a user would: Enter, a double-click, Escape,
// Cancel and the frame's close. Run by run.sh; with "shot" as the second argument it only
// shows the dialog and waits for a screenshot (the marker files say when).
// argv[1]: the Windows path of the data folder run.sh filled.

#include <functional>
#include <thread>

#include "support/extract_client.h"
#include "support/modal_window.h"

using namespace hv::wine;

namespace {

const char kCaption[] = "Select file to load into the emulators";

// What the answering thread saw of the dialog.
struct Seen {
  bool shown = false;
  bool answered = false;  // shown, and closed by the action rather than by the fallback
  std::string label;
  std::vector<std::string> names;
  int selected = -2;
  int inner_width = 0, inner_height = 0;
};

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

HWND FindChild(HWND dialog, const char* cls, const char* text) {
  return FindWindowExA(dialog, nullptr, cls, text);
}

// Waits for the chooser, reads it, then acts on it; a dialog that never comes is recorded as
// not shown. `wait_ms` bounds the wait. An action the dialog outlives is repeated a few times,
// as a user would, before the dialog is closed for good and the answer recorded as failed.
class Answerer {
 public:
  using Action = std::function<void(HWND dialog, HWND list)>;
  explicit Answerer(Action action, int wait_ms = 20000)
      : action_(std::move(action)), wait_ms_(wait_ms), thread_([this] { Run(); }) {}
  ~Answerer() { Join(); }
  const Seen& Result() {
    Join();
    return seen_;
  }

 private:
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  void Run() {
    HWND dialog = WaitForDialog(kCaption, wait_ms_);
    if (!dialog) return;
    HWND list = FindChild(dialog, "ListBox", nullptr);
    seen_.shown = true;
    seen_.label = WindowText(FindChild(dialog, "Static", nullptr));
    const LRESULT count = list ? SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
      char name[MAX_PATH] = {};
      SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
      seen_.names.emplace_back(name);
    }
    seen_.selected = list ? static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)) : -2;
    RECT inner{};
    GetClientRect(dialog, &inner);
    seen_.inner_width = inner.right - inner.left;
    seen_.inner_height = inner.bottom - inner.top;
    for (int attempt = 0; attempt < 3 && !seen_.answered; ++attempt) {
      action_(dialog, list);
      seen_.answered = WaitUntilGone(dialog, 5000);
    }
    if (!seen_.answered) {
      std::printf("  the chooser stayed open after its answer; closed by the test\n");
      CloseStuckDialog(dialog);
    }
  }

  Action action_;
  int wait_ms_;
  Seen seen_;
  std::thread thread_;
};

void PressKey(HWND target, WPARAM key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

// A double-click on item `index` with the mouse: press, release, double-click message.
void DoubleClick(HWND list, int index) {
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
}

const std::vector<std::string> kThree = {"alpha.prg", "beta.prg", "gamma.prg"};

std::string NoChoiceText(const std::string& folder_listing) {
  return "You need to specify a default file to load into the emulators before you can run this "
         "game." +
         kCrLf + kSeparator + folder_listing + kSeparator;
}

// The listing of P1 holds the three names, in the order the platform's search gives them.
bool IsNoChoiceText(const std::string& text) {
  const std::string head = NoChoiceText("");
  if (text.size() < head.size()) return false;
  for (const std::string& name : kThree) {
    if (text.find(name + kCrLf) == std::string::npos) return false;
  }
  return text.rfind(head.substr(0, head.size() - kSeparator.size()), 0) == 0 &&
         text.size() == head.size() + 3 * 2 + 9 + 8 + 9;
}

Dispatch NewExtract() {
  return CreateHalvane(L"Tessary.hvExtract");
}

bool InputsThere() {
  return InputsMade({"three.zip"});
}

int Pixels(int twips, int dpi) {
  return MulDiv(twips, dpi, 1440);
}

}  // namespace

HV_WINE_TEST(EnterPicksTheFirstName) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  const std::string work = Data("gui-enter");
  Answerer answer([](HWND, HWND list) { PressKey(list, VK_RETURN); });
  ExtractCall r = RunExtract(x, Input("three.zip"), work);
  const Seen& seen = answer.Result();
  HV_CHECK(seen.answered);
  HV_CHECK_EQ(seen.names, kThree);
  HV_CHECK_EQ(seen.selected, 0);
  HV_CHECK_EQ(seen.label,
              "This archive file has more than one compatible game file.  Please select the file "
              "to load into the emulators from the list below:");
  // The inner area is 5040 by 3015 twips at the screen's resolution.
  HDC dc = GetDC(nullptr);
  const int dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
  const int dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  HV_CHECK_EQ(seen.inner_width, Pixels(5040, dpi_x));
  HV_CHECK_EQ(seen.inner_height, Pixels(3015, dpi_y));
  HV_CHECK(r.found());
  HV_CHECK_EQ(r.filename, work + "\\ReZip\\alpha.prg");
  HV_CHECK_EQ(r.fail_info, "");
}

HV_WINE_TEST(DoubleClickPicksTheThirdName) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  const std::string work = Data("gui-dblclk");
  Answerer answer([](HWND, HWND list) { DoubleClick(list, 2); });
  ExtractCall r = RunExtract(x, Input("three.zip"), work);
  HV_CHECK(answer.Result().answered);
  HV_CHECK(r.found());
  HV_CHECK_EQ(r.filename, work + "\\ReZip\\gamma.prg");
  HV_CHECK_EQ(ReadText(r.filename), "c");
}

HV_WINE_TEST(EscapeCancelAndCloseDecline) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  const std::string work = Data("gui-decline");
  const std::vector<std::pair<const char*, Answerer::Action>> ways = {
      {"Escape", [](HWND, HWND list) { PressKey(list, VK_ESCAPE); }},
      {"Cancel",
       [](HWND dialog, HWND) {
         PostMessageA(FindChild(dialog, "Button", "&Cancel"), BM_CLICK, 0, 0);
       }},
      {"SC_CLOSE", [](HWND dialog, HWND) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"WM_CLOSE", [](HWND dialog, HWND) { PostMessageA(dialog, WM_CLOSE, 0, 0); }},
  };
  for (const auto& [how, action] : ways) {
    Answerer answer(action);
    ExtractCall r = RunExtract(x, Input("three.zip"), work, "", "", {}, "", "old", "old");
    HV_CHECK(answer.Result().answered);
    HV_CHECK(IsFalse(r.outcome));
    HV_CHECK_EQ(r.filename, "");
    if (!HV_CHECK(IsNoChoiceText(r.fail_info)))
      std::printf("  %s gave %s\n", how, r.fail_info.c_str());
  }
}

HV_WINE_TEST(ASecondShowingStartsEmpty) {
  if (!InputsThere()) return;
  Dispatch x = NewExtract();
  const std::string work = Data("gui-twice");
  {
    Answerer pick([](HWND dialog, HWND) {
      PostMessageA(FindChild(dialog, "Button", "&OK"), BM_CLICK, 0, 0);
    });
    HV_CHECK(RunExtract(x, Input("three.zip"), work).found());
  }
  // OK pressed with nothing selected any more gives nothing, not the previous answer.
  Answerer none([](HWND dialog, HWND list) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    PostMessageA(FindChild(dialog, "Button", "&OK"), BM_CLICK, 0, 0);
  });
  ExtractCall r = RunExtract(x, Input("three.zip"), work);
  HV_CHECK(none.Result().answered);
  HV_CHECK_EQ(none.Result().selected, 0);
  HV_CHECK(IsFalse(r.outcome));
  HV_CHECK(IsNoChoiceText(r.fail_info));
}

HV_WINE_TEST(DatabaseChoiceIsRememberedAndStaleOnesForgotten) {
  if (!InputsMade({"three.zip", "games.db"})) return;
  Dispatch x = NewExtract();
  const std::string work = Data("gui-db");
  const std::string db = Input("games.db");
  // No row for game 5: the user picks the second name, which is remembered.
  Answerer second([](HWND dialog, HWND list) {
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    PostMessageA(FindChild(dialog, "Button", "&OK"), BM_CLICK, 0, 0);
  });
  ExtractCall first = RunExtract(x, Input("three.zip"), work, "Zenvora", db, 5);
  HV_CHECK(second.Result().answered);
  HV_CHECK_EQ(first.filename, work + "\\ReZip\\beta.prg");
  // Asked again, the database answers; a dialog would be declined and fail the call.
  Answerer unasked([](HWND, HWND list) { PressKey(list, VK_ESCAPE); }, 3000);
  ExtractCall again = RunExtract(x, Input("three.zip"), work, "Zenvora", db, 5);
  HV_CHECK(!unasked.Result().shown);
  HV_CHECK_EQ(again.filename, work + "\\ReZip\\beta.prg");
  // Game 9 remembers a name the archive no longer holds: the row goes and the user is asked.
  Answerer stale([](HWND, HWND list) { PressKey(list, VK_ESCAPE); });
  ExtractCall gone = RunExtract(x, Input("three.zip"), work, "Zenvora", db, 9);
  HV_CHECK(stale.Result().answered);
  HV_CHECK(IsNoChoiceText(gone.fail_info));
  // A program name differing from "Zenvora" in case never reaches the database.
  Answerer other([](HWND, HWND list) { PressKey(list, VK_RETURN); });
  ExtractCall lower = RunExtract(x, Input("three.zip"), work, "zenvora", db, 7);
  HV_CHECK(other.Result().answered);
  HV_CHECK_EQ(lower.filename, work + "\\ReZip\\alpha.prg");
}

// Shows the dialog with three names until run.sh (or a person) has taken a picture of it:
// writes <data>\chooser-shown, waits for <data>\chooser-shot, then cancels.
static int ScreenshotRun() {
  ComApartment apartment;
  Dispatch x = NewExtract();
  if (!x) return 2;
  Answerer answer(
      [](HWND, HWND list) {
        WriteText(Data("chooser-shown"), "");
        for (int i = 0; i < 600 && !FileThere(Data("chooser-shot")); ++i) Sleep(100);
        PressKey(list, VK_ESCAPE);
      },
      30000);
  RunExtract(x, Input("three.zip"), Data("gui-shot"));
  return answer.Result().answered ? 0 : 1;
}

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[2]) == "shot") {
    DataFolder() = std::string(argv[1]) + "\\";
    return ScreenshotRun();
  }
  return HalvaneMain(argc, argv, "tessary_extract_gui");
}
