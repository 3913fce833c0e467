// Choices of names that SQL text built by hand would break, made in Tessary.hvExtract's real
// chooser under Xvfb (answered from a second thread), stored in a SQLite game database over
// ODBC and found again by the next call without asking. Run by run.sh.
// argv[1]: the Windows path of the data folder run.sh filled.

#include <atomic>
#include <thread>

#include "support/archive_rows.h"
#include "support/extract_client.h"
#include "support/modal_window.h"

using namespace hv::wine;

namespace {

const char kCaption[] = "Select file to load into the emulators";

// Watches for the chooser while one call runs. With a name, it selects that name and presses
// OK; without, it only records that the chooser came and cancels it.
class Chooser {
 public:
  explicit Chooser(std::string pick = {}) : pick_(std::move(pick)), thread_([this] { Run(); }) {}
  ~Chooser() { Stop(); }
  // Ends the watch; whether the chooser was shown, and whether the name was found in it.
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  bool shown() const { return shown_; }
  bool picked() const { return picked_; }

 private:
  void Run() {
    HWND dialog = nullptr;
    for (int waited = 0; !dialog && !stop_ && waited < 20000; waited += 100)
      dialog = WaitForDialog(kCaption, 100);
    if (!dialog) return;
    shown_ = true;
    HWND list = FindWindowExA(dialog, nullptr, "ListBox", nullptr);
    const std::wstring name = W(pick_);
    const LRESULT at = pick_.empty() || !list
                           ? LB_ERR
                           : SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(name.c_str()));
    if (at != LB_ERR) {
      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
      picked_ = true;
      PostMessageA(FindWindowExA(dialog, nullptr, "Button", "&OK"), BM_CLICK, 0, 0);
      if (WaitUntilGone(dialog, 5000)) return;
    }
    CloseStuckDialog(dialog);
  }

  std::string pick_;
  std::atomic<bool> stop_{false}, shown_{false}, picked_{false};
  std::thread thread_;
};

}  // namespace

HV_WINE_TEST(ChosenHostileNamesAreStoredAndFoundAgain) {
  const std::string db = Input("choices.db");
  if (!InputsMade({"hostile.zip", "choices.db"})) return;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  const std::string work = Data("gui-choices");
  const std::string names[] = {"x'); DROP TABLE Archive; --.prg", "a;b -- c.prg", "it''s.prg",
                               "caf\xe9-\xa3.prg"};
  ArchiveRows want = {{99, "x'); DROP TABLE Archive; --.prg"}};
  long game = 0;
  for (const std::string& name : names) {
    ++game;
    Chooser pick(name);
    ExtractCall r = RunExtract(x, Input("hostile.zip"), work, "Zenvora", db, game);
    pick.Stop();
    HV_CHECK(pick.picked());
    if (!HV_CHECK(r.found())) std::printf("  %s: %s\n", name.c_str(), r.fail_info.c_str());
    HV_CHECK_EQ(r.filename, work + "\\ReZip\\" + name);
    want.emplace_back(game, name);
    HV_CHECK_EQ(ShowRows(ReadArchiveRows(db)), ShowRows(want));

    // The next call for the game picks the same file without asking.
    Chooser watch;
    ExtractCall again = RunExtract(x, Input("hostile.zip"), work, "Zenvora", db, game);
    watch.Stop();
    HV_CHECK(!watch.shown());
    HV_CHECK(again.found());
    HV_CHECK_EQ(again.filename, work + "\\ReZip\\" + name);
  }
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "tessary_database_gui");
}
