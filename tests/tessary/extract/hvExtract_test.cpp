// The driver on archives made by zip: levels, the result folder, the choice, loose files and
// the not-compatible reports.

#include <gtest/gtest.h>

#include "extract_fixture.h"
#include "tessary/extract/extract_texts.h"
#include "support/bytes.h"
#include "support/tools.h"

namespace hv::tessary::test {
namespace {

using hv::test::ToolPath;

class ZipExtractTest : public ExtractTest {
 protected:
  void SetUp() override { HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL)); }
};

TEST_F(ZipExtractTest, OneTapeImageBringsItsWholeFolder) {
  const fs::path zip = Zip("game.zip", {Store("Game.t64", std::string(1000, 'T')),
                                        Store("readme.txt", "read me"), Store("cover.nfo", "x")});
  const Outcome o = Extract(zip);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/Game.t64"));
  EXPECT_EQ(o.fail, "");
  EXPECT_EQ(extract->Status(), 0);
  EXPECT_EQ(extract->Level(), 2);
  EXPECT_EQ(extract->LevelName(), "P2");
  EXPECT_EQ(extract->ResultFolder(), W("ReZip/"));
  EXPECT_TRUE(fs::exists(work() / "ReZip" / "readme.txt"));
  EXPECT_TRUE(fs::exists(work() / "ReZip" / "cover.nfo"));
  EXPECT_FALSE(fs::exists(work() / "P1"));  // the level the result came from is gone
  EXPECT_TRUE(fs::exists(work() / "game.zip"));
}

TEST_F(ZipExtractTest, ZipInZipUnpacksIntoP1ThenP2) {
  const fs::path inner = Zip("inner.zip", {D64("disk.d64")});
  const fs::path outer = Zip("outer.zip", {inner});
  const Outcome o = Extract(outer);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/disk.d64"));
  EXPECT_EQ(extract->LevelName(), "P3");
  EXPECT_EQ(hv::test::ReadFile(o.file).size(), 174848u);
  EXPECT_TRUE(fs::exists(work() / "P1" / "inner.zip"));  // the outer level stays
  EXPECT_FALSE(fs::exists(work() / "P1" / "P2"));
}

TEST_F(ZipExtractTest, StoredGameFileIsItsOwnResultAndSurvives) {
  const Outcome o = Extract(D64("Alone.D64"));
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/Alone.D64"));
  EXPECT_TRUE(fs::exists(o.file));
  EXPECT_EQ(extract->Level(), 1);
}

TEST_F(ZipExtractTest, TrailingSeparatorInWorkFolderWorksTheSame) {
  const fs::path zip = Zip("g.zip", {D64("disk.d64")});
  std::string file, fail;
  ASSERT_TRUE(extract->Extract("", zip.string(), "", W() + "/", file, fail, "", ""));
  EXPECT_EQ(file, W("ReZip/disk.d64"));
  EXPECT_TRUE(fs::exists(file));
}

TEST_F(ZipExtractTest, SeveralGameFilesAskTheChooserAndCancelListsTheFolder) {
  const fs::path zip = Zip("three.zip", {Store("c.prg", "cc"), Store("A.prg", "aa"),
                                         Store("b.PRG", "bb"), Store("notes.txt", "n")});
  chooser.answers = {""};
  const Outcome o = Extract(zip);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.file, "");
  ASSERT_EQ(chooser.offered.size(), 1u);
  EXPECT_EQ(chooser.offered[0], (std::vector<std::string>{"A.prg", "b.PRG", "c.prg"}));
  EXPECT_EQ(chooser.preselected[0], 0u);
  EXPECT_EQ(o.fail,
            "You need to specify a default file to load into the emulators before you can run "
            "this game.\r\n" +
                kSep + Crlf({"A.prg", "b.PRG", "c.prg", "notes.txt"}) + kSep);
  EXPECT_EQ(extract->Status(), 2);
}

TEST_F(ZipExtractTest, ChosenFileIsTheResultAndNothingLeaksIntoTheNextRun) {
  const fs::path zip =
      Zip("three.zip", {Store("a.prg", "a"), Store("b.prg", "b"), Store("c.prg", "c")});
  chooser.answers = {"b.prg"};
  Outcome o = Extract(zip);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/b.prg"));
  EXPECT_TRUE(fs::exists(work() / "ReZip" / "a.prg"));
  // The next question starts empty: declining now is a decline, not the old answer.
  o = Extract(zip);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(chooser.offered.size(), 2u);
}

TEST_F(ZipExtractTest, AnswerThatWasNotOfferedIsRefused) {
  const fs::path zip = Zip("two.zip", {Store("a.prg", "a"), Store("b.prg", "b")});
  chooser.answers = {"../../escape.prg"};
  const Outcome o = Extract(zip);
  EXPECT_FALSE(o.ok);
  EXPECT_NE(o.fail.find("An error was encountered while extracting this archive: \r\n\r\n"),
            std::string::npos);
  EXPECT_NE(o.fail.find("  (5)"), std::string::npos);
}

TEST_F(ZipExtractTest, SmallLooseFileBecomesAProgramAndLargeOneStays) {
  const fs::path zip = Zip("loose.zip", {StoreBytes("big.bin", 60000), StoreBytes("small.bin", 100),
                                         StoreBytes("edge.dat", 51201)});
  const Outcome o = Extract(zip);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/small.bin.prg"));
  EXPECT_TRUE(fs::exists(work() / "P1" / "big.bin"));
  EXPECT_TRUE(fs::exists(work() / "P1" / "edge.dat"));
}

TEST_F(ZipExtractTest, ExactlyTheProgramBoundMoves) {
  const fs::path zip = Zip("edge.zip", {StoreBytes("edge", 51200)});
  const Outcome o = Extract(zip);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/edge.prg"));
}

TEST_F(ZipExtractTest, OnlyLargeFilesIsNotCompatibleWithTheListing) {
  const fs::path zip = Zip("big.zip", {StoreBytes("b.bin", 60000), StoreBytes("a.bin", 52000)});
  const Outcome o = Extract(zip);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, "This archive file is not compatible with Zenvora or Tirrel.\r\n" + kSep +
                        "\r\n" + Crlf({"a.bin", "b.bin"}) + kSep);
}

TEST_F(ZipExtractTest, EmptyLevelIsNotCompatibleWithoutListing) {
  fs::create_directories(store / "emptydir");
  const fs::path out = store / "empty.zip";
  const auto r =
      hv::test::Run(ToolPath(HV_ZIP_TOOL), {"-q", "-r", out.string(), "emptydir"}, store.string());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Outcome o = Extract(out);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail,
            "This archive file is not compatible with Zenvora or Tirrel.  A resulting game-file "
            "has not been found.");
}

TEST_F(ZipExtractTest, DamagedZipGivesTheUnzipText) {
  const fs::path zip = Zip("game.zip", {D64("disk.d64")});
  hv::test::Bytes bytes = hv::test::ReadFile(zip);
  bytes.resize(bytes.size() / 2);
  hv::test::WriteFile(zip, bytes);
  const Outcome o = Extract(zip);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, "There was an error unzipping the file:\r\n\r\n" + W("game.zip") +
                        "\r\n\r\nThe file is possibly corrupt.");
  EXPECT_NE(extract->LastFailure().number, 0);
}

TEST_F(ZipExtractTest, EncryptedZipSaysItIsPasswordProtected) {
  const fs::path d64 = D64("disk.d64");
  const fs::path out = store / "secret.zip";
  const auto r =
      hv::test::Run(ToolPath(HV_ZIP_TOOL), {"-q", "-j", "-P", "pass", out.string(), d64.string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Outcome o = Extract(out);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, "There was an error unzipping the file:\r\n\r\n" + W("secret.zip") +
                        "\r\n\r\n" + hv::tessary::texts::kPasswordProtected);
}

}  // namespace
}  // namespace hv::tessary::test
