#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "halvane/functions/hvFunctions.h"
#include "halvane/functions/scripted_ui.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using hv::Variant;
using hv::halvane::hvFunctions;

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() {
    f.SetFoundFileHandler([this](const std::string& hit) { hits.push_back(hit); });
  }
  void Put(const fs::path& relative, std::size_t size) {
    fs::create_directories((dir / relative).parent_path());
    hv::test::WriteFile(dir / relative, std::string(size, 'x'));
  }
  std::string Root() const { return dir.path().string(); }

  hv::test::ScriptedUi ui;
  hvFunctions f{ui};
  hv::test::TempDir dir;
  std::vector<std::string> hits;
};

TEST_F(SearchTest, FindFilesReportsTopLevelFirstAndSumsSizes) {
  Put("SUB/B.SID", 20);
  Put("A.sid", 10);
  Put("C.TXT", 99);
  std::string path = Root();
  std::string pattern = "*.SID";
  const Variant total = f.FindFiles(path, pattern);
  EXPECT_EQ(path, Root() + "/");
  EXPECT_EQ(total.ToLong(), 30);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0], Root() + "/A.sid");
  EXPECT_EQ(hits[1], Root() + "/SUB/B.SID");
}

TEST_F(SearchTest, FindFilesFinishesEachFolderBeforeTheNext) {
  Put("X/1.SID", 1);
  Put("X/Y/2.SID", 2);
  Put("Z/3.SID", 3);
  std::string path = Root() + "/", pattern = "*.SID";
  EXPECT_EQ(f.FindFiles(path, pattern).ToLong(), 6);
  ASSERT_EQ(hits.size(), 3u);
  const auto x1 = std::find(hits.begin(), hits.end(), path + "X/1.SID");
  const auto x2 = std::find(hits.begin(), hits.end(), path + "X/Y/2.SID");
  const auto z3 = std::find(hits.begin(), hits.end(), path + "Z/3.SID");
  ASSERT_TRUE(x1 != hits.end() && x2 != hits.end() && z3 != hits.end());
  EXPECT_TRUE(x1 < x2);
  // X and its subfolder are one block, before or after Z.
  EXPECT_TRUE((x2 < z3 && x1 < z3) || (z3 < x1));
}

TEST_F(SearchTest, FindFilesEmptyAndZeroResults) {
  std::string path = Root(), pattern = "*.SID";
  EXPECT_TRUE(f.FindFiles(path, pattern).IsEmpty());
  fs::create_directory(dir / "EMPTY");
  path = Root();
  const Variant zero = f.FindFiles(path, pattern);
  EXPECT_FALSE(zero.IsEmpty());
  EXPECT_EQ(zero.ToLong(), 0);
  EXPECT_TRUE(hits.empty());
  path = Root() + "/NOWHERE";
  EXPECT_TRUE(f.FindFiles(path, pattern).IsEmpty());
}

TEST_F(SearchTest, FindFilesReportsMatchingFoldersToo) {
  fs::create_directory(dir / "MUSIC.SID");
  std::string path = Root(), pattern = "*.SID";
  f.FindFiles(path, pattern);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0], Root() + "/MUSIC.SID");
}

TEST_F(SearchTest, FindFilesDoesNotFollowLinksInCircles) {
  Put("A/T.SID", 5);
  fs::create_directory_symlink(dir.path(), dir / "A" / "LOOP");
  std::string path = Root(), pattern = "*.SID";
  EXPECT_EQ(f.FindFiles(path, pattern).ToLong(), 5);
  EXPECT_EQ(hits.size(), 1u);
}

// Links stand for every kind of folder that leads elsewhere (junctions and mounted drives
// on Windows): the search goes into them, and walks each folder once however often it is met.
TEST_F(SearchTest, FindFilesWalksLinkedFoldersOnce) {
  hv::test::TempDir elsewhere;
  hv::test::WriteFile(elsewhere / "U.SID", std::string(7, 'u'));
  Put("A/T.SID", 5);
  fs::create_directory_symlink(elsewhere.path(), dir / "A" / "LINKED");
  fs::create_directory_symlink(elsewhere.path(), dir / "SAME");   // a second way in
  fs::create_directory_symlink(dir / "A", dir / "A" / "SELF");    // a circle
  fs::create_directory_symlink(dir / "NOWHERE", dir / "BROKEN");  // names nothing
  std::string path = Root(), pattern = "*.SID";
  EXPECT_EQ(f.FindFiles(path, pattern).ToLong(), 12);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(std::count(hits.begin(), hits.end(), Root() + "/A/T.SID"), 1);
  // Whichever way in was listed first reports it.
  EXPECT_EQ(std::count(hits.begin(), hits.end(), Root() + "/A/LINKED/U.SID") +
                std::count(hits.begin(), hits.end(), Root() + "/SAME/U.SID"),
            1);
}

TEST_F(SearchTest, FindFilesStopsAtALinkToWhereItStarted) {
  Put("X/Y/T.SID", 1);
  fs::create_directory_symlink(dir / "X", dir / "X" / "Y" / "UP");
  fs::create_directory_symlink(".", dir / "X" / "HERE");
  std::string path = Root() + "/X", pattern = "*";
  f.FindFiles(path, pattern);
  // Y, T.SID and the two links, each once: no walk goes round.
  EXPECT_EQ(hits.size(), 4u) << ::testing::PrintToString(hits);
  EXPECT_EQ(std::count(hits.begin(), hits.end(), Root() + "/X/Y/T.SID"), 1);
}

TEST_F(SearchTest, FindFileGoesIntoLinksAndEndsInCircles) {
  hv::test::TempDir elsewhere;
  fs::create_directory(elsewhere / "deep");
  hv::test::WriteFile(elsewhere / "deep" / "GAME.D64", "g");
  Put("A/B/OTHER.D64", 1);
  fs::create_directory_symlink(dir.path(), dir / "A" / "B" / "LOOP");
  fs::create_directory_symlink(dir / "A", dir / "A" / "SELF");
  EXPECT_EQ(f.FindFile("MISSING.D64", Root()), "");
  fs::create_directory_symlink(elsewhere.path(), dir / "LINK");
  EXPECT_EQ(f.FindFile("GAME.D64", Root()), Root() + "/LINK/deep/GAME.D64");
  // A search may start at a link, too.
  EXPECT_EQ(f.FindFile("GAME.D64", Root() + "/LINK"), Root() + "/LINK/deep/GAME.D64");
}

TEST_F(SearchTest, APathWithANulEndsThere) {
  Put("X/sub/A.SID", 3);
  Put("X/B.SID", 4);
  const std::string cut = Root() + "/X" + std::string(1, '\0') + "junk";
  std::string path = cut, pattern = std::string("*.SID\0junk", 10);
  EXPECT_EQ(f.FindFiles(path, pattern).ToLong(), 7);
  EXPECT_EQ(path, cut + "/");  // the caller's text keeps all it had and gains the separator
  EXPECT_EQ(hits, (std::vector<std::string>{Root() + "/X/B.SID", Root() + "/X/sub/A.SID"}));
  EXPECT_EQ(f.FindFile("A.SID", cut), Root() + "/X/sub/A.SID");
  EXPECT_EQ(f.FindFile("NONE", cut), "");
}

TEST_F(SearchTest, FindFilePrefersTheFolderItselfThenGoesDepthFirst) {
  Put("GAME.D64", 1);
  Put("SUB/GAME.D64", 1);
  EXPECT_EQ(f.FindFile("GAME.D64", Root()), Root() + "/GAME.D64");
  EXPECT_EQ(f.FindFile("OTHER.D64", Root()), "");
  Put("A/B/DEEP.D64", 1);
  EXPECT_EQ(f.FindFile("DEEP.D64", Root()), Root() + "/A/B/DEEP.D64");
  EXPECT_EQ(f.FindFile("DEEP.D64", Root() + "/"), Root() + "/A/B/DEEP.D64");
}

TEST_F(SearchTest, FindFileSkipsHiddenFolders) {
  Put(".hidden/SECRET.D64", 1);
  EXPECT_EQ(f.FindFile("SECRET.D64", Root()), "");
  EXPECT_EQ(f.FindFile("X", Root() + "/NOWHERE"), "");
}

TEST(SearchHelpersTest, TrimAndSeparator) {
  EXPECT_EQ(hvFunctions::TrimAtNull(std::string("AB\0CD", 5)), "AB");
  EXPECT_EQ(hvFunctions::TrimAtNull("AB"), "AB");
  std::string s("X\0Y", 3);
  EXPECT_EQ(hvFunctions::TrimAtNullInPlace(s), "X");
  EXPECT_EQ(s, "X");
  EXPECT_EQ(hvFunctions::AddBackslash(""), "");
  EXPECT_EQ(hvFunctions::AddBackslash("/a"), "/a/");
  EXPECT_EQ(hvFunctions::AddBackslash("/a/"), "/a/");
}

}  // namespace
