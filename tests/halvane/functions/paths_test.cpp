#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "halvane/functions/hvFunctions.h"
#include "halvane/functions/scripted_ui.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using hv::halvane::hvFunctions;
using hv::halvane::kVbFalse;
using hv::halvane::kVbTrue;

class PathsTest : public ::testing::Test {
 protected:
  hv::test::ScriptedUi ui;
  hvFunctions f{ui};
  hv::test::TempDir dir;
  hv::test::CurrentDirGuard cwd;
};

TEST_F(PathsTest, GetFileAndPathSplitsAtTheLastSeparator) {
  std::string path = "keep", file = "keep";
  f.GetFileAndPath("/GAMES/A.D64", path, file);
  EXPECT_EQ(path, "/GAMES");
  EXPECT_EQ(file, "A.D64");
  f.GetFileAndPath("/A.D64", path, file);
  EXPECT_EQ(path, "");
  EXPECT_EQ(file, "A.D64");
  f.GetFileAndPath("/GAMES/", path, file);
  EXPECT_EQ(path, "/GAMES");
  EXPECT_EQ(file, "");
  f.GetFileAndPath("A.D64", path, file);
  EXPECT_EQ(path, "");
  EXPECT_EQ(file, "A.D64");
  // The other slash is an ordinary character.
  f.GetFileAndPath("C:\\X\\A.D64", path, file);
  EXPECT_EQ(path, "");
  EXPECT_EQ(file, "C:\\X\\A.D64");
}

TEST_F(PathsTest, GetFileAndPathWithOneVariableForBothEndsWithTheFileName) {
  std::string both = "old";
  f.GetFileAndPath("/GAMES/SUB/A.D64", both, both);
  EXPECT_EQ(both, "A.D64");
  f.GetFileAndPath("B.T64", both, both);
  EXPECT_EQ(both, "B.T64");
  // The input may be the same variable too: it is taken by value first.
  std::string self = "/X/C.PRG";
  f.GetFileAndPath(self, self, self);
  EXPECT_EQ(self, "C.PRG");
}

TEST_F(PathsTest, JustFileName) {
  EXPECT_EQ(f.JustFileName("/GAMES/A.D64"), "A.D64");
  EXPECT_EQ(f.JustFileName("/GAMES/"), "");
  EXPECT_EQ(f.JustFileName("A.D64"), "A.D64");
}

TEST_F(PathsTest, Long2ShortAnswersOnlyForExistingPaths) {
  EXPECT_EQ(f.Long2Short(""), "");
  EXPECT_EQ(f.Long2Short((dir / "missing").string()), "");
  const std::string deep = (dir / std::string(200, 'n')).string();
  hv::test::WriteFile(deep, std::string("x"));
  EXPECT_EQ(f.Long2Short(deep), deep);
}

TEST_F(PathsTest, FileExistsMessagesAndCodes) {
  const std::string file = (dir / "A.D64").string();
  hv::test::WriteFile(file, std::string("data"));
  EXPECT_TRUE(f.FileExists(file, kVbTrue, "Cap"));
  EXPECT_TRUE(f.FileExists(file, kVbFalse, ""));
  EXPECT_TRUE(ui.shown.empty());

  EXPECT_FALSE(f.FileExists("", kVbFalse, "Cap"));
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_FALSE(f.FileExists("", kVbTrue, "Cap"));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, "FILE NOT FOUND: NO FILENAME PASSED!");
  EXPECT_EQ(ui.shown[0].caption, "Cap");
  EXPECT_EQ(ui.shown[0].style, 48);

  const std::string missing = (dir / "B.D64").string();
  EXPECT_FALSE(f.FileExists(missing, kVbTrue, "Cap"));
  EXPECT_EQ(ui.shown.back().text, "FILE NOT FOUND: " + missing);
  const std::string no_folder = (dir / "NOPE" / "B.D64").string();
  EXPECT_FALSE(f.FileExists(no_folder, kVbTrue, "Cap"));
  EXPECT_EQ(ui.shown.back().text, "PATH NOT FOUND: " + no_folder);
  EXPECT_FALSE(f.FileExists(dir.path().string(), kVbTrue, "Cap"));
  EXPECT_EQ(ui.shown.back().text, "Device Not Ready for " + dir.path().string());
  // Only -1 shows a box; another true value does not.
  const auto before = ui.shown.size();
  EXPECT_FALSE(f.FileExists(missing, 1, "Cap"));
  EXPECT_EQ(ui.shown.size(), before);
}

TEST_F(PathsTest, FileExistsAnswersForLongPaths) {
  fs::path deep = dir.path();
  for (int i = 0; i < 6; ++i) deep /= std::string(40, static_cast<char>('a' + i));
  fs::create_directories(deep);
  const std::string file = (deep / "GAME.D64").string();
  ASSERT_GE(file.size(), 256u);
  hv::test::WriteFile(file, std::string("x"));
  EXPECT_TRUE(f.FileExists(file, kVbFalse, ""));
  EXPECT_FALSE(f.FileExists(file + "X", kVbFalse, ""));
}

TEST_F(PathsTest, FileExistsFindsBareNamesAlongThePath) {
  hv::test::TempDir tools;
  hv::test::WriteFile(tools / "ZIP2D64.EXE", std::string("tool"));
  const char* old = std::getenv("PATH");
  const std::string saved = old ? old : "";
  ::setenv("PATH", ("/nonexistent:" + tools.path().string()).c_str(), 1);
  fs::current_path(dir.path());
  EXPECT_TRUE(f.FileExists("ZIP2D64.EXE", kVbFalse, ""));
  EXPECT_FALSE(f.FileExists("NOSUCH.EXE", kVbFalse, ""));
  // The current folder comes first.
  hv::test::WriteFile(dir / "LOCAL.EXE", std::string("x"));
  EXPECT_TRUE(f.FileExists("LOCAL.EXE", kVbFalse, ""));
  ::setenv("PATH", saved.c_str(), 1);
}

TEST_F(PathsTest, DirExistsLeavesTheFolderCurrent) {
  const fs::path sub = dir / "SUB";
  fs::create_directory(sub);
  EXPECT_TRUE(f.DirExists(sub.string()));
  EXPECT_EQ(fs::current_path(), sub);
  EXPECT_FALSE(f.DirExists((dir / "NONE").string()));
  EXPECT_FALSE(f.DirExists(""));
  EXPECT_EQ(fs::current_path(), sub);
}

TEST_F(PathsTest, DeletePathSilentRemovesATreeAndPumpsOnce) {
  fs::create_directories(dir / "W" / "P1" / "P2");
  hv::test::WriteFile(dir / "W" / "P1" / "P2" / "X.D64", std::string("x"));
  f.DeletePathSilent((dir / "W").string());
  EXPECT_FALSE(fs::exists(dir / "W"));
  EXPECT_EQ(ui.pumps, 1);
  f.DeletePathSilent((dir / "W").string());  // already gone: nothing to report
  EXPECT_TRUE(fs::exists(dir.path()));
}

TEST_F(PathsTest, DeletePathSilentTakesWildcardsInTheLastPart) {
  fs::create_directories(dir / "W" / "A.TMP" / "IN");
  fs::create_directory(dir / "W" / "IN");
  for (const char* name : {"W/B.tmp", "W/C.D64", "W/IN/D.TMP", ".KEEP.TMP"}) {
    hv::test::WriteFile(dir / name, std::string("x"));
  }
  fs::create_directory_symlink(dir / "W" / "IN", dir / "W" / "LINK.TMP");
  f.DeletePathSilent((dir / "W" / "*.tmp").string());
  EXPECT_FALSE(fs::exists(dir / "W" / "A.TMP"));
  EXPECT_FALSE(fs::exists(dir / "W" / "B.tmp"));
  EXPECT_FALSE(fs::is_symlink(dir / "W" / "LINK.TMP"));
  EXPECT_TRUE(fs::exists(dir / "W" / "IN" / "D.TMP"));  // the link's target stays
  EXPECT_TRUE(fs::exists(dir / "W" / "C.D64"));
  EXPECT_TRUE(fs::exists(dir / ".KEEP.TMP"));
  // "*" empties the folder and keeps it.
  f.DeletePathSilent((dir / "W" / "*").string());
  EXPECT_TRUE(fs::is_directory(dir / "W"));
  EXPECT_TRUE(fs::is_empty(dir / "W"));
  f.DeletePathSilent((dir / "NOWHERE" / "*.*").string());
  EXPECT_TRUE(fs::exists(dir / ".KEEP.TMP"));
}

TEST_F(PathsTest, DriveTypeAndVolumeOfMissingRoots) {
  EXPECT_TRUE(f.DriveTypeIsCDRom((dir / "NOWHERE").string()));
  EXPECT_FALSE(f.DriveTypeIsCDRom(dir.path().string()));
  EXPECT_EQ(f.GetVolumeName((dir / "NOWHERE").string()), "");
}

}  // namespace
