#include <gtest/gtest.h>

#include "fake_functions.h"
#include "halvane/shell/hvShell.h"
#include "platform/recording_process.h"

namespace hv::halvane {
namespace {

using test::FakeWorld;

constexpr char kEmu[] = "C:\\EMU\\EMU.EXE";

class C64sTest : public ::testing::Test {
 protected:
  C64sTest() {
    w.files = {kEmu, "C:\\EMU\\Config.ini", "C:\\GAMES\\GAME.D64", "C:\\GAMES\\TAPE.t64",
               "C:\\ROOT.D64"};
    w.dirs = {"C:\\EMU", "C:\\GAMES"};
  }
  std::string Run(const std::string& game, const Variant& name, std::int32_t p1 = 1,
                  std::int32_t p2 = 2, bool write = false) {
    return shell.C64Sv252(kEmu, game, name, p1, p2, write, true);
  }
  std::string Last() const { return process.started.back().command_line; }
  FakeWorld w;
  platform::RecordingProcessService process;
  hvShell shell{w.Factory(), process, kWindowsPathRules};
};

TEST_F(C64sTest, NamedDiskProgramTypesLoadCommandWithEscapesUntouched) {
  EXPECT_EQ(Run("C:\\GAMES\\GAME.D64", "GAME"), "");
  EXPECT_EQ(Last(),
            "C:\\EMU\\EMU.EXE -diskdir C:\\GAMES -disk GAME.D64 -autotype "
            "\"LOAD$20$22GAME$22,8,1$0DRUN$0D\"");
  EXPECT_EQ(process.started[0].directory, "C:\\EMU");
  EXPECT_EQ(process.started[0].drive, "C");
  EXPECT_EQ(process.started[0].window_style, 1);
}

TEST_F(C64sTest, GenericAndTapeForms) {
  EXPECT_EQ(Run("C:\\GAMES\\GAME.D64", Variant()), "");
  EXPECT_EQ(Last(),
            "C:\\EMU\\EMU.EXE -diskdir C:\\GAMES -disk GAME.D64 -autotype\" LOAD$0DRUN$0D\"");
  EXPECT_EQ(Run("C:\\GAMES\\TAPE.t64", ""), "");
  EXPECT_EQ(Last(),
            "C:\\EMU\\EMU.EXE -tapedir C:\\GAMES -tape TAPE.t64 -autotype\" LOAD$0DRUN$0D\"");
  EXPECT_EQ(Run("C:\\GAMES\\TAPE.t64", "Tape Game"), "");
  EXPECT_EQ(Last(),
            "C:\\EMU\\EMU.EXE -tapedir C:\\GAMES -tape TAPE.t64 -autotype "
            "\"LOAD$20$22Tape Game$22$0DRUN$0D\"");
  EXPECT_EQ(Run("C:\\GAMES\\TAPE.t64", std::int32_t{5}), "");
  EXPECT_NE(Last().find("$225$22$0D"), std::string::npos);
  EXPECT_EQ(Run("C:\\GAMES\\TAPE.t64", Variant(Variant::Null{})), "");
  EXPECT_NE(Last().find("-autotype\" LOAD"), std::string::npos);
}

TEST_F(C64sTest, GameInDriveRootGivesBareDrive) {
  EXPECT_EQ(Run("C:\\ROOT.D64", Variant()), "");
  EXPECT_EQ(Last().substr(0, 40), "C:\\EMU\\EMU.EXE -diskdir C: -disk ROOT.D6");
}

TEST_F(C64sTest, TypeTestComesFirst) {
  w.files.clear();
  const char* expected =
      "Unable to run this game in C64S v2.52.  This emulator only supports D64 and T64 files";
  EXPECT_EQ(Run("C:\\GAMES\\GAME.PRG", "X"), expected);
  EXPECT_EQ(Run("D64", "X"), expected);
  EXPECT_TRUE(w.file_tests.empty());
  EXPECT_EQ(Run("C:\\GAMES\\GAME.d64", "X"),
            "Unable to run C64S v2.52.  File: C:\\EMU\\EMU.EXE not found");
  w.files.insert(kEmu);
  EXPECT_EQ(Run("C:\\GAMES\\GAME.d64", "X"),
            "Unable to run C64S v2.52.  File: C:\\GAMES\\GAME.d64 not found");
  EXPECT_TRUE(process.started.empty());
  EXPECT_EQ(process.changes, 0);
}

TEST_F(C64sTest, PortTextsWrittenOnlyWhenAsked) {
  EXPECT_EQ(Run("C:\\GAMES\\GAME.D64", "", 0, 2, true), "");
  EXPECT_EQ(Run("C:\\GAMES\\GAME.D64", "", 1, 3, true), "");
  EXPECT_EQ(Run("C:\\GAMES\\GAME.D64", "", -1, 2, false), "");
  ASSERT_EQ(w.config_writes.size(), 2u);
  EXPECT_EQ(w.config_writes[0].file, "C:\\EMU\\Config.ini");
  EXPECT_EQ(w.config_writes[0].entries, (ConfigEntries{{"Joy1", "No"}, {"Joy2", "Analogue"}}));
  EXPECT_EQ(w.config_writes[1].entries,
            (ConfigEntries{{"Joy1", "Keyboard"}, {"Joy2", "Keyboard"}}));
  EXPECT_EQ(w.cd_queries.at(0), "C:");

  w.cd_roots.insert("C:");
  EXPECT_EQ(Run("C:\\GAMES\\GAME.D64", "", 0, 0, true), "");
  w.cd_roots.clear();
  w.files.erase("C:\\EMU\\Config.ini");
  EXPECT_EQ(Run("C:\\GAMES\\GAME.D64", "", 0, 0, true), "");
  EXPECT_EQ(w.config_writes.size(), 2u);
  EXPECT_EQ(process.started.size(), 5u);
}

TEST_F(C64sTest, ErrorPrefix) {
  process.fail_directory = true;
  EXPECT_EQ(Run("C:\\GAMES\\GAME.D64", "", 0, 0, true),
            "There was an error starting C64S v2.52.  Error 76: Path not found");
  EXPECT_EQ(w.config_writes.size(), 1u);  // written before the move failed, and kept
}

}  // namespace
}  // namespace hv::halvane
