#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "fake_functions.h"
#include "halvane/shell/hvShell.h"
#include "platform/recording_process.h"

namespace hv::halvane {
namespace {

using test::FakeWorld;

class Ccs64Test : public ::testing::Test {
 protected:
  Ccs64Test() {
    w.files = {"C:\\CCS64\\CCS64.EXE", "C:\\CCS64\\ccsdpmi.exe", "C:\\CCS64\\c64.cfg",
               "C:\\GAMES\\GAME.D64"};
    w.dirs = {"C:\\CCS64", "C:\\GAMES"};
  }
  std::string V109(bool write, std::int16_t index = 0, const std::string& games = "C:\\GAMES") {
    return shell.CCS64v109("C:\\CCS64\\CCS64.EXE", games, "C:\\GAMES\\GAME.D64", index, 1, 0, 2, 1,
                           write, false);
  }
  std::string V20(std::int32_t c1, std::int32_t c2, std::int32_t m1, std::int32_t m2,
                  bool write = true) {
    return shell.CCS64v20DosAndWin("C:\\CCS64\\CCS64.EXE", "C:\\GAMES", "C:\\GAMES\\GAME.D64", 0,
                                   c1, c2, m1, m2, write, true);
  }
  FakeWorld w;
  platform::RecordingProcessService process;
  hvShell shell{w.Factory(), process, kWindowsPathRules};
};

TEST_F(Ccs64Test, V109StartsDpmiHostWithGameAndIndex) {
  EXPECT_EQ(V109(false), "");
  ASSERT_EQ(process.started.size(), 1u);
  EXPECT_EQ(process.started[0].command_line,
            "C:\\CCS64\\ccsdpmi.exe ccs64.exe C:\\GAMES\\GAME.D64,0");
  EXPECT_EQ(process.started[0].window_style, 1);
  EXPECT_EQ(process.started[0].directory, "C:\\CCS64\\");
  EXPECT_EQ(process.started[0].drive, "C");
  EXPECT_TRUE(w.config_writes.empty());
  EXPECT_EQ(w.created, 1);
  EXPECT_EQ(w.alive, 0);
}

TEST_F(Ccs64Test, V109UsesShortFormsAndNegativeIndex) {
  w.files.insert("C:\\Program Files\\CCS64\\CCS64.EXE");
  w.short_forms["C:\\Program Files\\CCS64"] = "C:\\PROGRA~1\\CCS64";
  w.files.insert("C:\\PROGRA~1\\CCS64\\ccsdpmi.exe");
  w.short_forms["C:\\My Games\\A Game.d64"] = "C:\\MYGAME~1\\AGAME~1.D64";
  w.files.insert("C:\\My Games\\A Game.d64");
  EXPECT_EQ(shell.CCS64v109("C:\\Program Files\\CCS64\\CCS64.EXE", "", "C:\\My Games\\A Game.d64",
                            -3, 0, 0, 0, 0, false, false),
            "");
  EXPECT_EQ(process.started.at(0).command_line,
            "C:\\PROGRA~1\\CCS64\\ccsdpmi.exe ccs64.exe C:\\MYGAME~1\\AGAME~1.D64,-3");
}

TEST_F(Ccs64Test, V109WritesFourKeysAndLoadPathWithOneBackslash) {
  EXPECT_EQ(V109(true), "");
  ASSERT_EQ(w.config_writes.size(), 1u);
  EXPECT_EQ(w.config_writes[0].file, "C:\\CCS64\\c64.cfg");
  const ConfigEntries expected{{"$JOYSTICK1PC", "1"},
                               {"$JOYSTICK2PC", "0"},
                               {"$JOYSTICK1KEY", "2"},
                               {"$JOYSTICK2KEY", "1"},
                               {"$LOADPATH", "C:\\GAMES\\"}};
  EXPECT_EQ(w.config_writes[0].entries, expected);
  EXPECT_EQ(w.cd_queries, std::vector<std::string>{"C:"});

  w.config_writes.clear();
  w.dirs.insert("C:\\GAMES\\");
  EXPECT_EQ(V109(true, 0, "C:\\GAMES\\"), "");
  EXPECT_EQ(w.config_writes.at(0).entries.back().second, "C:\\GAMES\\");
}

TEST_F(Ccs64Test, MissingGamesFolderWritesNoLoadPath) {
  EXPECT_EQ(V109(true, 0, "C:\\NOWHERE"), "");
  ASSERT_EQ(w.config_writes.size(), 1u);
  EXPECT_EQ(w.config_writes[0].entries.size(), 4u);
  EXPECT_EQ(w.config_writes[0].entries.back().first, "$JOYSTICK2KEY");
}

TEST_F(Ccs64Test, ConfigSkippedSilentlyWhenMissingOrOnCdRom) {
  w.files.erase("C:\\CCS64\\c64.cfg");
  EXPECT_EQ(V109(true), "");
  EXPECT_TRUE(w.config_writes.empty());
  EXPECT_EQ(process.started.size(), 1u);

  w.files.insert("C:\\CCS64\\c64.cfg");
  w.cd_roots.insert("C:");
  EXPECT_EQ(V20(1, 1, 0, 0), "");
  EXPECT_TRUE(w.config_writes.empty());
  EXPECT_EQ(process.started.size(), 2u);
}

TEST_F(Ccs64Test, V109NotFoundOrderAndNothingChanged) {
  // Both ccsdpmi.exe and the game missing: only the ccsdpmi.exe message, with the short folder.
  w.files.erase("C:\\CCS64\\ccsdpmi.exe");
  w.files.erase("C:\\GAMES\\GAME.D64");
  EXPECT_EQ(V109(true), "Unable to run CCS64 v1.09.  File: C:\\CCS64\\ccsdpmi.exe not found");
  w.files.insert("C:\\CCS64\\ccsdpmi.exe");
  w.files.erase("C:\\CCS64\\CCS64.EXE");
  EXPECT_EQ(V109(true), "Unable to run CCS64 v1.09.  File: C:\\CCS64\\CCS64.EXE not found");
  w.files.insert("C:\\CCS64\\CCS64.EXE");
  EXPECT_EQ(V109(true), "Unable to run CCS64 v1.09.  File: C:\\GAMES\\GAME.D64 not found");
  EXPECT_TRUE(w.config_writes.empty());
  EXPECT_TRUE(process.started.empty());
  EXPECT_EQ(process.changes, 0);
  EXPECT_EQ(w.alive, 0);
}

TEST_F(Ccs64Test, V109MissingEmulatorFolderLooksForRootDpmiHost) {
  EXPECT_EQ(shell.CCS64v109("C:\\GONE\\CCS64.EXE", "", "C:\\GAMES\\GAME.D64", 0, 0, 0, 0, 0, false,
                            false),
            "Unable to run CCS64 v1.09.  File: \\ccsdpmi.exe not found");
}

TEST_F(Ccs64Test, V20CommandLineAndMessages) {
  EXPECT_EQ(V20(1, 1, 0, 1, false), "");
  EXPECT_EQ(process.started.at(0).command_line, "C:\\CCS64\\CCS64.EXE C:\\GAMES\\GAME.D64,0");
  EXPECT_EQ(process.started.at(0).directory, "C:\\CCS64\\");
  EXPECT_TRUE(w.config_writes.empty());

  w.files.erase("C:\\GAMES\\GAME.D64");
  EXPECT_EQ(V20(1, 1, 0, 0), "Unable to run CCS64 v2.0.  File: C:\\GAMES\\GAME.D64 not found");
  w.files.erase("C:\\CCS64\\CCS64.EXE");
  EXPECT_EQ(V20(1, 1, 0, 0), "Unable to run CCS64 v2.0.  File: C:\\CCS64\\CCS64.EXE not found");
  EXPECT_EQ(process.started.size(), 1u);
}

TEST_F(Ccs64Test, V20MouseModeAdjustment) {
  EXPECT_EQ(V20(eCCS20_MouseC1351, eCCS20_Joystick, eCCS20_PCMouse, eCCS20_PCMouse), "");
  EXPECT_EQ(V20(eCCS20_MouseC1351, eCCS20_None, eCCS20_KeySet1, 7), "");
  ASSERT_EQ(w.config_writes.size(), 2u);
  const ConfigEntries first{{"$CONTROLPORT1", "2"},
                            {"$CONTROLPORT2", "1"},
                            {"$CONTROLPORT1MODE", "0"},
                            {"$CONTROLPORT2MODE", "-1"},
                            {"$LOADPATH", "C:\\GAMES\\"}};
  EXPECT_EQ(w.config_writes[0].entries, first);
  EXPECT_EQ(w.config_writes[1].entries[2].second, "3");
  EXPECT_EQ(w.config_writes[1].entries[3].second, "7");
}

TEST_F(Ccs64Test, ErrorsBecomeMessagesWithNumberAndText) {
  w.fail_config = true;
  EXPECT_EQ(V109(true),
            "There was an error starting CCS64 v1.09.  Error 75: Path/File access error");
  EXPECT_EQ(process.changes, 0);  // the configuration step comes before the move
  w.fail_config = false;
  process.fail_start = true;
  EXPECT_EQ(V20(1, 1, 0, 0), "There was an error starting CCS64 v2.0.  Error 53: File not found");
  EXPECT_EQ(process.directory, "C:\\CCS64\\");  // the move is not undone
  // A mouse mode that cannot grow by one overflows instead of wrapping.
  process.fail_start = false;
  EXPECT_EQ(V20(2, 1, 2147483647, 0), "There was an error starting CCS64 v2.0.  Error 6: Overflow");
  EXPECT_EQ(w.alive, 0);
}

TEST_F(Ccs64Test, NoFunctionsObjectIsAnErrorMessage) {
  hvShell broken{[] { return std::unique_ptr<LauncherFunctionsOps>(); }, process,
                 kWindowsPathRules};
  EXPECT_EQ(broken.CCS64v109("C:\\CCS64\\CCS64.EXE", "", "C:\\G.D64", 0, 0, 0, 0, 0, false, false),
            "There was an error starting CCS64 v1.09.  Error 429: ActiveX component can't create "
            "object");
}

TEST_F(Ccs64Test, ForeignExceptionsAreNumberedMessagesToo) {
  hvShell foreign{
      []() -> std::unique_ptr<LauncherFunctionsOps> { throw std::out_of_range("vector index"); },
      process, kWindowsPathRules};
  EXPECT_EQ(foreign.CCS64v109("C:\\CCS64\\CCS64.EXE", "", "C:\\G.D64", 0, 0, 0, 0, 0, false, false),
            "There was an error starting CCS64 v1.09.  Error 51: Internal error: vector index");
  hvShell memory{[]() -> std::unique_ptr<LauncherFunctionsOps> { throw std::bad_alloc(); }, process,
                 kWindowsPathRules};
  EXPECT_EQ(memory.CCS64v109("C:\\CCS64\\CCS64.EXE", "", "C:\\G.D64", 0, 0, 0, 0, 0, false, false),
            "There was an error starting CCS64 v1.09.  Error 7: Out of memory");
}

}  // namespace
}  // namespace hv::halvane
