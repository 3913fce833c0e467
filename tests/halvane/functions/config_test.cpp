#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/error.h"
#include "halvane/functions/config_editor.h"
#include "halvane/functions/hvFunctions.h"
#include "halvane/functions/scripted_ui.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using hv::halvane::ConfigFileArray;
using hv::halvane::ConfigFileType;
using hv::halvane::EditConfigText;
using hv::halvane::hvFunctions;

std::string Edit(std::string_view text, std::vector<ConfigFileType> entries) {
  return EditConfigText(text, entries);
}

std::string Slurp(const fs::path& p) {
  const auto bytes = hv::test::ReadFile(p);
  return std::string(bytes.begin(), bytes.end());
}

int FilesIn(const fs::path& dir) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

TEST(ConfigEditorTest, ReplacesTheLineAndDropsEmptyLines) {
  EXPECT_EQ(Edit("$JOYSTICK1PC=0\r\n\r\n$LOADPATH=C:\\GAMES\r\n", {{"$loadpath", "D:\\C64"}}),
            "$JOYSTICK1PC=0\r\n$loadpath=D:\\C64\r\n");
}

TEST(ConfigEditorTest, MatchesByPrefixFirstLineOnly) {
  EXPECT_EQ(Edit("$CONTROLPORT1MODE=1\r\n$CONTROLPORT1=2\r\n", {{"$CONTROLPORT1", "5"}}),
            "$CONTROLPORT1=5\r\n$CONTROLPORT1=2\r\n");
  // A bare key line matches; a shorter line never does.
  EXPECT_EQ(Edit("$LOAD\r\n$loadpath\r\n", {{"$LOADPATH", "X"}}), "$LOAD\r\n$LOADPATH=X\r\n");
  // Spaces-only lines are not empty.
  EXPECT_EQ(Edit("A=1\r\n  \r\n", {{"B", "2"}}), "A=1\r\n  \r\n");
}

TEST(ConfigEditorTest, EntriesApplyInOrderOnTheChangedCopy) {
  EXPECT_EQ(Edit("K=0\r\nK=9\r\n", {{"k", "1"}, {"K", "2"}}), "K=2\r\nK=9\r\n");
  // An empty key matches the first line.
  EXPECT_EQ(Edit("A=1\r\nB=2\r\n", {{"", "v"}}), "=v\r\nB=2\r\n");
}

TEST(ConfigEditorTest, EmptyFiles) {
  EXPECT_EQ(Edit("", {{"$A", "1"}}), "");
  // The extra line after the last one read takes an empty key.
  EXPECT_EQ(Edit("", {{"", "v"}}), "=v\r\n");
  EXPECT_EQ(Edit("\r\n\r\n", {{"X", "1"}}), "");
}

TEST(ConfigEditorTest, EveryLineEndEndsALine) {
  // A lone LF ends a line as CR and CR LF do: no line is lost to its neighbour's key.
  EXPECT_EQ(Edit("A=1\nB=2\n", {{"B", "3"}}), "A=1\r\nB=3\r\n");
  EXPECT_EQ(Edit("Sound=1\nVideo=2\n", {{"Sound", "0"}}), "Sound=0\r\nVideo=2\r\n");
  EXPECT_EQ(Edit("A=1\rB=2\r", {{"b", "3"}}), "A=1\r\nb=3\r\n");
  // LF CR is two line ends with an empty line between.
  EXPECT_EQ(Edit("A=1\n\rB=2", {{"", "v"}}), "=v\r\nB=2\r\n");
  // The last line needs no terminator.
  EXPECT_EQ(Edit("A=1\r\nB=2", {}), "A=1\r\nB=2\r\n");
}

TEST(ConfigEditorTest, KeptLineEndsFollowTheFirstLine) {
  const auto keep = [](std::string_view text, std::vector<ConfigFileType> entries) {
    return EditConfigText(text, entries, hv::halvane::LineEnds::kAsRead);
  };
  EXPECT_EQ(keep("Sound=1\nVideo=2\n", {{"Sound", "0"}}), "Sound=0\nVideo=2\n");
  EXPECT_EQ(keep("Sound=1\r\n\r\nVideo=2\r\n", {{"video", "0"}}), "Sound=1\r\nvideo=0\r\n");
  // A mixed file takes its first line's end throughout; empty lines go as always.
  EXPECT_EQ(keep("A=1\n\nB=2\r\nC=3\r", {{"C", "4"}}), "A=1\nB=2\nC=4\n");
  // CR alone, or no line end at all, is written as the description has it: CR LF.
  EXPECT_EQ(keep("A=1\rB=2\n", {}), "A=1\r\nB=2\r\n");
  EXPECT_EQ(keep("A=1", {{"A", "2"}}), "A=2\r\n");
  EXPECT_EQ(keep("", {{"", "v"}}), "=v\r\n");
  EXPECT_EQ(keep("\n\n", {{"X", "1"}}), "");
}

class ConfigFileTest : public ::testing::Test {
 protected:
  hv::test::ScriptedUi ui;
  hvFunctions f{ui};
  hv::test::TempDir dir;
  fs::path file = dir / "CCS64.CFG";
};

TEST_F(ConfigFileTest, RewritesInPlaceWithoutTemporaryLeftovers) {
  hv::test::WriteFile(file, std::string("$JOYSTICK1PC=0\r\n\r\n$LOADPATH=C:\\GAMES"));
  ::chmod(file.c_str(), 0640);
  f.ChangeConfigFile(file.string(), ConfigFileArray{{"$loadpath", "D:\\C64"}});
  EXPECT_EQ(Slurp(file), "$JOYSTICK1PC=0\r\n$loadpath=D:\\C64\r\n");
  EXPECT_EQ(FilesIn(dir.path()), 1);
  struct stat st {};
  ::stat(file.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(ConfigFileTest, TheFileKeepsItsOwnerAndEveryModeBit) {
  hv::test::WriteFile(file, std::string("A=1\r\n"));
  const bool root = ::geteuid() == 0;
  // Root can hand the file to another owner, whose set-group-id bit a careless copy loses.
  if (root) {
    ASSERT_EQ(::chown(file.c_str(), 4321, 4322), 0);
  }
  ASSERT_EQ(::chmod(file.c_str(), root ? 02664 : 0604), 0);
  struct stat before {};
  ::stat(file.c_str(), &before);
  f.ChangeConfigFile(file.string(), ConfigFileArray{{"A", "2"}});
  struct stat after {};
  ::stat(file.c_str(), &after);
  EXPECT_EQ(Slurp(file), "A=2\r\n");
  EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
}

TEST_F(ConfigFileTest, AnLfFileKeepsEveryLineAndItsLineEnds) {
  hv::test::WriteFile(file, std::string("Sound=1\nVideo=2\n\nJoy=0\n"));
  f.ChangeConfigFile(file.string(), ConfigFileArray{{"Sound", "0"}, {"JOY", "1"}});
  EXPECT_EQ(Slurp(file), "Sound=0\nVideo=2\nJOY=1\n");
  hv::test::WriteFile(file, std::string("Sound=1\r\nVideo=2\r\n"));
  f.ChangeConfigFile(file.string(), ConfigFileArray{{"Video", "3"}});
  EXPECT_EQ(Slurp(file), "Sound=1\r\nVideo=3\r\n");
}

TEST_F(ConfigFileTest, MissingFileRaisesFileNotFoundAndCreatesNothing) {
  try {
    f.ChangeConfigFile(file.string(), ConfigFileArray{{"A", "1"}});
    FAIL() << "no error";
  } catch (const hv::Error& e) {
    EXPECT_EQ(e.Number(), hv::vberr::kFileNotFound);
  }
  EXPECT_EQ(FilesIn(dir.path()), 0);
}

TEST_F(ConfigFileTest, BadArraysRaiseSubscriptOutOfRangeBeforeWriting) {
  const std::string original = "A=1\r\n\r\nB=2\n";
  hv::test::WriteFile(file, original);
  ConfigFileArray from_one{{"A", "9"}};
  from_one.lower_bound = 1;
  for (const ConfigFileArray& bad :
       {ConfigFileArray::NotDimensioned(), ConfigFileArray{}, from_one}) {
    try {
      f.ChangeConfigFile(file.string(), bad);
      FAIL() << "no error";
    } catch (const hv::Error& e) {
      EXPECT_EQ(e.Number(), hv::vberr::kSubscriptOutOfRange);
    }
    EXPECT_EQ(Slurp(file), original);
  }
}

TEST_F(ConfigFileTest, ReadOnlyFileFailsWithAccessErrorAndStaysIntact) {
  const std::string original = "$LOADPATH=C:\\GAMES\r\n";
  hv::test::WriteFile(file, original);
  ::chmod(file.c_str(), 0444);
  try {
    f.ChangeConfigFile(file.string(), ConfigFileArray{{"$LOADPATH", "D:"}});
    FAIL() << "no error";
  } catch (const hv::Error& e) {
    EXPECT_EQ(e.Number(), hv::vberr::kPathFileAccess);
  }
  EXPECT_EQ(Slurp(file), original);
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST_F(ConfigFileTest, AFolderWithoutWriteAccessKeepsTheFileWhole) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  const std::string original = "A=1\r\n";
  hv::test::WriteFile(file, original);
  ::chmod(dir.path().c_str(), 0555);
  EXPECT_THROW(f.ChangeConfigFile(file.string(), ConfigFileArray{{"A", "2"}}), hv::Error);
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(Slurp(file), original);
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST_F(ConfigFileTest, ALinkStaysALink) {
  hv::test::WriteFile(file, std::string("A=1\r\n"));
  const fs::path link = dir / "LINK.CFG";
  fs::create_symlink(file, link);
  f.ChangeConfigFile(link.string(), ConfigFileArray{{"A", "2"}});
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Slurp(file), "A=2\r\n");
}

}  // namespace
