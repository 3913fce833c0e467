#include <gtest/gtest.h>

#include "fake_functions.h"
#include "halvane/shell/hvShell.h"
#include "platform/recording_process.h"

namespace hv::halvane {
namespace {

using test::FakeWorld;

constexpr char kEmu[] = "C:\\EMU\\EMU.EXE";
constexpr char kGame[] = "C:\\GAMES\\GAME.D64";

class OtherLaunchersTest : public ::testing::Test {
 protected:
  OtherLaunchersTest() {
    w.files = {kEmu, kGame};
    w.dirs = {"C:\\EMU", "C:\\GAMES"};
  }
  const platform::RecordingProcessService::Started& Last() const { return process.started.back(); }
  FakeWorld w;
  platform::RecordingProcessService process;
  hvShell shell{w.Factory(), process, kWindowsPathRules};
};

TEST_F(OtherLaunchersTest, ViceLowerCasesTheWholeLineOnWindows) {
  EXPECT_EQ(shell.VICE(kEmu, kGame, "GAME", eVICE_PCJoystick1, eVICE_None, false), "");
  EXPECT_EQ(Last().command_line,
            "c:\\emu\\emu.exe -autostart \"c:\\games\\game.d64:game\" -joydev1 4 -joydev2 0");
  EXPECT_EQ(Last().directory, "C:\\EMU");
  EXPECT_EQ(Last().drive, "C");
  EXPECT_EQ(Last().window_style, 1);
  EXPECT_EQ(shell.VICE(kEmu, kGame, "", 9, -1, true), "");
  EXPECT_EQ(Last().command_line,
            "c:\\emu\\emu.exe -autostart \"c:\\games\\game.d64\" -joydev1 9 -joydev2 -1");
}

// hv play's name is already what VICE needs; the automation calls above still lower it.
TEST_F(OtherLaunchersTest, ViceOptionsKeepTheNameAndAddTheFliplist) {
  w.files.insert("C:\\WORK\\REZIP\\GAME.VFL");
  shell.SetViceOptions({true, "C:\\WORK\\REZIP\\GAME.VFL"});
  EXPECT_EQ(shell.VICE(kEmu, kGame, "MiXeD$22x", 0, 0, false), "");
  EXPECT_EQ(Last().command_line,
            "c:\\emu\\emu.exe -flipname c:\\work\\rezip\\game.vfl -autostart "
            "\"c:\\games\\game.d64:MiXeD$22x\" -joydev1 0 -joydev2 0");
  EXPECT_EQ(shell.VICENoSettings(kEmu, kGame, "Up\\", false), "");
  EXPECT_EQ(Last().command_line,
            "c:\\emu\\emu.exe -flipname c:\\work\\rezip\\game.vfl -autostart "
            "\"c:\\games\\game.d64:Up\\\\\"");
  shell.SetViceOptions({});
  EXPECT_EQ(shell.VICE(kEmu, kGame, "MiXeD", 0, 0, false), "");
  EXPECT_EQ(Last().command_line,
            "c:\\emu\\emu.exe -autostart \"c:\\games\\game.d64:mixed\" -joydev1 0 -joydev2 0");
}

TEST_F(OtherLaunchersTest, TableOfTheOtherLaunchers) {
  w.short_forms["C:\\EMU\\EMU.EXE"] = "C:\\EMU\\EMU.EXE";
  EXPECT_EQ(shell.VICENoSettings(kEmu, kGame, "Name", false), "");
  EXPECT_EQ(Last().command_line, "c:\\emu\\emu.exe -autostart \"c:\\games\\game.d64:name\"");
  EXPECT_EQ(shell.VICENoSettings(kEmu, kGame, "", false), "");
  EXPECT_EQ(Last().command_line, "c:\\emu\\emu.exe -autostart \"c:\\games\\game.d64\"");

  EXPECT_EQ(shell.Comeback64(kEmu, kGame, SelectPort1, false), "");
  EXPECT_EQ(Last().command_line, "c:\\emu\\emu.exe /lc:\\games\\game.d64 /j1");
  for (std::int32_t port : {1, 2, -1}) {
    EXPECT_EQ(shell.Comeback64(kEmu, kGame, port, false), "");
    EXPECT_EQ(Last().command_line, "c:\\emu\\emu.exe /lc:\\games\\game.d64 /j2");
  }

  EXPECT_EQ(shell.PC64Win(kEmu, kGame, false), "");
  EXPECT_EQ(Last().command_line, "C:\\EMU\\EMU.EXE C:\\GAMES\\GAME.D64");
  EXPECT_EQ(Last().directory, "C:\\EMU");

  EXPECT_EQ(shell.Frodo(kEmu, false), "");
  EXPECT_EQ(Last().command_line, "C:\\EMU\\EMU.EXE");
  EXPECT_EQ(Last().directory, "C:\\EMU");
  EXPECT_EQ(w.alive, 0);
}

TEST_F(OtherLaunchersTest, Win64PassesLongPathsInTheirCase) {
  const std::string emu = "D:\\My Emus\\Win64.exe";
  const std::string game = "E:\\Big Games\\Some Game.D64";
  w.files = {emu, game};
  w.short_forms[emu] = "D:\\MYEMUS~1\\WIN64.EXE";
  w.short_forms[game] = "E:\\BIGGAM~1\\SOMEGA~1.D64";
  EXPECT_EQ(shell.Win64Beta(emu, game, false), "");
  EXPECT_EQ(Last().command_line, "D:\\My Emus\\Win64.exe \"E:\\Big Games\\Some Game.D64\"");
  EXPECT_EQ(Last().drive, "D");
  EXPECT_EQ(Last().directory, "D:\\My Emus");
  // PC64Win takes short forms; drive from the long path (same letter).
  EXPECT_EQ(shell.PC64Win(emu, game, false), "");
  EXPECT_EQ(Last().command_line, "D:\\MYEMUS~1\\WIN64.EXE E:\\BIGGAM~1\\SOMEGA~1.D64");
  EXPECT_EQ(Last().directory, "D:\\My Emus");
}

TEST_F(OtherLaunchersTest, ProgramFileIsTestedBeforeTheGame) {
  const std::string no_emu = "C:\\NONE\\X.EXE";
  const std::string no_game = "C:\\NONE\\G.D64";
  EXPECT_EQ(shell.VICE(no_emu, no_game, "", 0, 0, false),
            "Unable to run the VICE Emulator.  File: C:\\NONE\\X.EXE not found");
  EXPECT_EQ(shell.VICE(kEmu, no_game, "", 0, 0, false),
            "Unable to run the VICE Emulator.  File: C:\\NONE\\G.D64 not found");
  EXPECT_EQ(shell.VICENoSettings(kEmu, no_game, "", false),
            "Unable to run the VICE Emulator.  File: C:\\NONE\\G.D64 not found");
  EXPECT_EQ(shell.Comeback64(no_emu, no_game, 0, false),
            "Unable to run the Come Back 64 Emulator.  File: C:\\NONE\\X.EXE not found");
  EXPECT_EQ(shell.Comeback64(kEmu, no_game, 0, false),
            "Unable to run the Come Back 64 Emulator.  File: C:\\NONE\\G.D64 not found");
  EXPECT_EQ(shell.Win64Beta(no_emu, no_game, false),
            "Unable to run Win64 Beta.  File: C:\\NONE\\X.EXE not found");
  EXPECT_EQ(shell.Win64Beta(kEmu, no_game, false),
            "Unable to run Win64 Beta.  File: C:\\NONE\\G.D64 not found");
  EXPECT_EQ(shell.PC64Win(no_emu, no_game, false),
            "Unable to run PC64Win.  File: C:\\NONE\\X.EXE not found");
  EXPECT_EQ(shell.PC64Win(kEmu, no_game, false),
            "Unable to run PC64Win.  File: C:\\NONE\\G.D64 not found");
  EXPECT_EQ(shell.Frodo(no_emu, false), "Unable to run Frodo.  File: C:\\NONE\\X.EXE not found");
  EXPECT_TRUE(process.started.empty());
  EXPECT_EQ(process.changes, 0);
}

TEST_F(OtherLaunchersTest, StartFailuresAreErrorFiftyThree) {
  process.fail_start = true;
  const std::string tail = "Error 53: File not found";
  EXPECT_EQ(shell.VICE(kEmu, kGame, "", 0, 0, false),
            "There was an error starting the VICE Emulator.  " + tail);
  EXPECT_EQ(shell.VICENoSettings(kEmu, kGame, "", false),
            "There was an error starting the VICE Emulator.  " + tail);
  EXPECT_EQ(shell.Comeback64(kEmu, kGame, 0, false),
            "There was an error starting the Come Back 64 Emulator.  " + tail);
  EXPECT_EQ(shell.Win64Beta(kEmu, kGame, false),
            "There was an error starting Win64 Beta.  " + tail);
  EXPECT_EQ(shell.PC64Win(kEmu, kGame, false), "There was an error starting PC64Win.  " + tail);
  EXPECT_EQ(shell.Frodo(kEmu, false), "There was an error starting Frodo.  " + tail);
  process.fail_start = false;
  process.fail_drive = true;
  EXPECT_EQ(shell.Frodo(kEmu, false),
            "There was an error starting Frodo.  Error 68: Device unavailable");
}

// On Linux paths keep their case; switches and program names are still lowered.
TEST_F(OtherLaunchersTest, PosixRulesKeepThePathsCase) {
  FakeWorld px;
  px.separator = '/';
  px.files = {"/opt/Vice/X64", "/home/Me/Games/Game.D64"};
  hvShell posix{px.Factory(), process, kPosixPathRules};
  EXPECT_EQ(posix.VICE("/opt/Vice/X64", "/home/Me/Games/Game.D64", "GAME", 4, 5, false), "");
  EXPECT_EQ(Last().command_line,
            "/opt/Vice/X64 -autostart \"/home/Me/Games/Game.D64:game\" -joydev1 4 -joydev2 5");
  EXPECT_EQ(Last().directory, "/opt/Vice");
  EXPECT_EQ(posix.Comeback64("/opt/Vice/X64", "/home/Me/Games/Game.D64", 1, false), "");
  EXPECT_EQ(Last().command_line, "/opt/Vice/X64 /l/home/Me/Games/Game.D64 /j2");
  // No short forms: a blank in a path is quoted where the line does not quote it already.
  px.files.insert("/home/Me/My Games/A B.D64");
  EXPECT_EQ(posix.Comeback64("/opt/Vice/X64", "/home/Me/My Games/A B.D64", 1, false), "");
  EXPECT_EQ(Last().command_line, "/opt/Vice/X64 /l\"/home/Me/My Games/A B.D64\" /j2");
  EXPECT_EQ(posix.VICENoSettings("/opt/Vice/X64", "/home/Me/My Games/A B.D64", "", false), "");
  EXPECT_EQ(Last().command_line, "/opt/Vice/X64 -autostart \"/home/Me/My Games/A B.D64\"");
}

TEST_F(OtherLaunchersTest, PosixRulesAskAboutTheFolderNotADrive) {
  FakeWorld px;
  px.separator = '/';
  px.files = {"/emu/ccs/ccs64", "/emu/ccs/ccsdpmi.exe", "/emu/ccs/c64.cfg", "/g/a.d64"};
  px.dirs = {"/emu/ccs", "/g"};
  hvShell posix{px.Factory(), process, kPosixPathRules};
  EXPECT_EQ(posix.CCS64v109("/emu/ccs/ccs64", "/g", "/g/a.d64", 1, 0, 0, 0, 0, true, false), "");
  EXPECT_EQ(px.cd_queries, std::vector<std::string>{"/emu/ccs/"});
  EXPECT_EQ(px.config_writes.at(0).entries.back(),
            (std::pair<std::string, std::string>{"$LOADPATH", "/g/"}));
  EXPECT_EQ(Last().command_line, "/emu/ccs/ccsdpmi.exe ccs64.exe /g/a.d64,1");
  EXPECT_EQ(Last().directory, "/emu/ccs/");
}

}  // namespace
}  // namespace hv::halvane
