#include <gtest/gtest.h>

#include "fake_functions.h"
#include "halvane/shell/hvShell.h"
#include "platform/recording_process.h"

namespace hv::halvane {
namespace {

using test::FakeWorld;

constexpr char kPlayer[] = "C:\\SID\\PLAYER.EXE";

class PlayerTest : public ::testing::Test {
 protected:
  PlayerTest() {
    w.files = {kPlayer, "C:\\MUSIC\\TUNE.SID", "C:\\MUSIC\\\\TUNE.SID"};
    w.dirs = {"C:\\SID", "C:\\MUSIC", "C:\\MUSIC\\"};
  }
  FakeWorld w;
  platform::RecordingProcessService process;
  hvShell shell{w.Factory(), process, kWindowsPathRules};
};

TEST_F(PlayerTest, PlayMusicAndPlayMusicSong) {
  shell.PlayMusic(kPlayer, "C:\\MUSIC", "TUNE.SID", "Cap", kVbTrue);
  shell.PlayMusicSong(kPlayer, "C:\\MUSIC", "TUNE.SID", 3);
  shell.PlayMusicSong(kPlayer, "C:\\MUSIC", "TUNE.SID", 0);
  shell.PlayMusicSong(kPlayer, "C:\\MUSIC", "TUNE.SID", -2);
  ASSERT_EQ(process.started.size(), 4u);
  EXPECT_EQ(process.started[0].command_line, "C:\\SID\\PLAYER.EXE C:\\MUSIC\\TUNE.SID");
  EXPECT_EQ(process.started[1].command_line, "C:\\SID\\PLAYER.EXE -o3 C:\\MUSIC\\TUNE.SID");
  EXPECT_EQ(process.started[2].command_line, "C:\\SID\\PLAYER.EXE -o0 C:\\MUSIC\\TUNE.SID");
  EXPECT_EQ(process.started[3].command_line, "C:\\SID\\PLAYER.EXE -o-2 C:\\MUSIC\\TUNE.SID");
  EXPECT_EQ(process.started[0].directory, "C:\\SID");
  EXPECT_EQ(process.started[0].drive, "C");
  EXPECT_EQ(process.started[0].window_style, 1);
  ASSERT_EQ(w.file_tests.size(), 2u);
  EXPECT_EQ(w.file_tests[0].name, kPlayer);
  EXPECT_EQ(w.file_tests[1].name, "C:\\MUSIC\\TUNE.SID");
  EXPECT_TRUE(w.file_tests[1].display);
  EXPECT_EQ(w.file_tests[1].caption, "Cap");
  EXPECT_EQ(w.alive, 0);
}

TEST_F(PlayerTest, ShortFormsOnlyForTheFolders) {
  w.files.insert("C:\\Program Files\\Sid Play\\Sid Play.exe");
  w.short_forms["C:\\Program Files\\Sid Play"] = "C:\\PROGRA~1\\SIDPLAY";
  w.short_forms["C:\\My Music"] = "C:\\MYMUSI~1";
  w.files.insert("C:\\My Music\\Long Tune.sid");
  shell.PlayMusic("C:\\Program Files\\Sid Play\\Sid Play.exe", "C:\\My Music", "Long Tune.sid", "",
                  kVbFalse);
  ASSERT_EQ(process.started.size(), 1u);
  EXPECT_EQ(process.started[0].command_line,
            "C:\\PROGRA~1\\SIDPLAY\\Sid Play.exe C:\\MYMUSI~1\\Long Tune.sid");
  EXPECT_EQ(process.started[0].directory, "C:\\PROGRA~1\\SIDPLAY");
}

TEST_F(PlayerTest, MissingFilesEndSilentlyBeforeAnythingChanges) {
  shell.PlayMusic(kPlayer, "C:\\MUSIC", "GONE.SID", "Cap", kVbFalse);
  EXPECT_EQ(w.file_tests.size(), 2u);
  EXPECT_FALSE(w.file_tests[1].display);
  shell.PlayMusic("C:\\SID\\GONE.EXE", "C:\\MUSIC", "TUNE.SID", "Cap", kVbTrue);
  EXPECT_EQ(w.file_tests.size(), 3u);  // the first failing test ends it
  EXPECT_TRUE(w.file_tests[2].display);
  EXPECT_TRUE(process.started.empty());
  EXPECT_EQ(process.changes, 0);
}

TEST_F(PlayerTest, OnlyTrueAsksForABox) {
  // A typed client may send any 16-bit value: it reaches the file test unchanged, and 1 (or
  // any other value but -1) shows no box there.
  for (const std::int16_t value : {std::int16_t{1}, std::int16_t{-2}, kVbTrue, kVbFalse}) {
    w.file_tests.clear();
    shell.PlayMusic("C:\\SID\\GONE.EXE", "C:\\MUSIC", "TUNE.SID", "Cap", value);
    ASSERT_EQ(w.file_tests.size(), 1u);
    EXPECT_EQ(w.file_tests[0].display_value, value);
    EXPECT_EQ(w.file_tests[0].display, value == kVbTrue);
  }
  EXPECT_TRUE(process.started.empty());
}

TEST_F(PlayerTest, TrailingBackslashDoubles) {
  shell.PlayMusic(kPlayer, "C:\\MUSIC\\", "TUNE.SID", "", kVbFalse);
  EXPECT_EQ(w.file_tests.back().name, "C:\\MUSIC\\\\TUNE.SID");
  EXPECT_EQ(process.started.at(0).command_line, "C:\\SID\\PLAYER.EXE C:\\MUSIC\\\\TUNE.SID");
}

TEST_F(PlayerTest, ErrorsNeverReachTheCaller) {
  process.fail_start = true;
  EXPECT_NO_THROW(shell.PlayMusic(kPlayer, "C:\\MUSIC", "TUNE.SID", "", kVbFalse));
  EXPECT_NO_THROW(shell.PlayMusicSong("C:\\NONE\\P.EXE", "C:\\MUSIC", "TUNE.SID", 1));
  EXPECT_EQ(process.changes, 4);  // the move happens and stays
  hvShell broken{
      []() -> std::unique_ptr<LauncherFunctionsOps> { throw Error(vberr::kCannotCreateObject); },
      process, kWindowsPathRules};
  EXPECT_NO_THROW(broken.PlayMusic(kPlayer, "C:\\MUSIC", "TUNE.SID", "", kVbFalse));
  EXPECT_NO_THROW(broken.PlayMusicSong(kPlayer, "C:\\MUSIC", "TUNE.SID", 1));
}

TEST_F(PlayerTest, ShellWithDefaultProgramHandsOverAndChangesNothing) {
  shell.ShellWithDefaultProgram("C:\\DOCS\\README.TXT", 0x1234);
  ASSERT_EQ(process.opened.size(), 1u);
  EXPECT_EQ(process.opened[0].file, "C:\\DOCS\\README.TXT");
  EXPECT_EQ(process.opened[0].parent_window, 0x1234);
  EXPECT_EQ(process.changes, 0);
  EXPECT_EQ(w.created, 0);
}

}  // namespace
}  // namespace hv::halvane
