// hv extract / db init / play through the real program.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "support/bytes.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace hv::test {
namespace {

namespace fs = std::filesystem;

const std::string kHv = std::string(HV_BIN_DIR) + "/hv";

class ExtractCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
    for (const char* n : {"a.prg", "b.prg"}) WriteFile(tmp / n, std::string("\x01\x08", 2));
    zip = (tmp / "two.zip").string();
    ASSERT_EQ(hv::test::Run(ToolPath(HV_ZIP_TOOL),
                            {"-q", "-j", zip, (tmp / "a.prg").string(), (tmp / "b.prg").string()})
                  .exit_code,
              0);
  }
  std::string P(const std::string& rel) const { return (tmp.path() / rel).string(); }
  TempDir tmp;
  std::string zip;
};

TEST_F(ExtractCommandTest, PrintsTheGameFileOrTheFailureText) {
  auto r = hv::test::Run(kHv, {"extract", zip, "--work", P("work"), "--choose", "B.PRG"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, P("work") + "/ReZip/b.prg\n");

  r = hv::test::Run(kHv, {"extract", zip, "--work", P("work"), "--json"});  // no terminal: declined
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.out.find("\"Extract\": false"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"ReturnFailInfo\": \"You need to specify a default file"),
            std::string::npos);
  EXPECT_NE(r.out.find("\"ReturnFilename\": \"\""), std::string::npos);
}

// Every archive kind, made by the Debian tools from one cc1541 image, unpacks with a PATH that
// holds no tool at all.
TEST_F(ExtractCommandTest, EveryArchiveKindNeedsNothingOnThePath) {
  for (const char* tool : {HV_CC1541, HV_GZIP_TOOL, HV_CBMCONVERT, HV_DISK2ZIP_TOOL}) {
    HV_REQUIRE_TOOL(ToolPath(tool));
  }
  const std::string image = P("demo.d64");
  ASSERT_EQ(hv::test::Run(ToolPath(HV_CC1541),
                          {"-q", "-n", "demo", "-f", "game", "-w", P("a.prg"), image})
                .exit_code,
            0);
  ASSERT_EQ(hv::test::Run(ToolPath(HV_GZIP_TOOL), {"-qnk", image}).exit_code, 0);
  ASSERT_EQ(
      hv::test::Run(ToolPath(HV_CBMCONVERT), {"-v0", "-L", P("demo.lnx"), "-d", image}).exit_code,
      0);
  fs::create_directories(P("set"));
  ASSERT_EQ(hv::test::Run(ToolPath(HV_DISK2ZIP_TOOL), {image, "demo"}, P("set")).exit_code, 0);
  ASSERT_EQ(
      hv::test::Run(ToolPath(HV_ZIP_TOOL), {"-qj", P("set.zip"), P("set/1!demo"), P("set/2!demo"),
                                            P("set/3!demo"), P("set/4!demo")})
          .exit_code,
      0);
  fs::copy_file(std::string(HV_LHA_ARCHIVES) + "/lha_unix114i/h1_lh5.lzh", P("gpl.lzh"));
  const struct {
    std::string archive, result;
  } cases[] = {{"demo.d64.gz", "demo.d64"},
               {"set.zip", "demo.d64"},
               {"demo.lnx", "GAME.prg"},
               {"gpl.lzh", "gpl-2.prg"}};
  for (const auto& c : cases) {
    const auto r = hv::test::Run(
        "/usr/bin/env", {"PATH=/nonexistent", kHv, "extract", P(c.archive), "--work", P("w")});
    EXPECT_EQ(r.exit_code, 0) << c.archive << ": " << r.err;
    EXPECT_EQ(r.out, P("w") + "/ReZip/" + c.result + "\n");
  }
  EXPECT_EQ(ReadFile(P("w/ReZip/gpl-2.prg")).size(), 18092u);
  const auto r = hv::test::Run(
      "/usr/bin/env", {"PATH=/nonexistent", kHv, "extract", P("demo.d64.gz"), "--work", P("w")});
  ASSERT_EQ(r.exit_code, 0);
  EXPECT_TRUE(ReadFile(P("w/ReZip/demo.d64")) == ReadFile(image));
}

TEST_F(ExtractCommandTest, DatabaseRemembersTheChoice) {
  ASSERT_EQ(hv::test::Run(kHv, {"db", "init", P("games.db")}).exit_code, 0);
  auto r = hv::test::Run(kHv, {"extract", zip, "--work", P("work"), "--db", P("games.db"),
                               "--game-id", "3", "--choose", "a.prg"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  r = hv::test::Run(kHv,
                    {"extract", zip, "--work", P("work"), "--db", P("games.db"), "--game-id", "3"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, P("work") + "/ReZip/a.prg\n");
}

TEST_F(ExtractCommandTest, FailuresNameWhatTheyConcern) {
  auto r = hv::test::Run(kHv, {"extract", P("gone.zip"), "--work", P("work")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("hv extract: " + P("gone.zip") + ": Error 53: File not found"),
            std::string::npos)
      << r.err;
  r = hv::test::Run(kHv, {"extract", zip, "--work", P("work"), "--choose", "c.prg"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("--choose \"c.prg\" matches none of the game files: "), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("a.prg"), std::string::npos);
  EXPECT_NE(r.err.find("b.prg"), std::string::npos);
}

TEST_F(ExtractCommandTest, RefusedWorkFolderIsAnError) {
  const auto r = hv::test::Run(kHv, {"extract", zip, "--work", "/"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("is not deleted"), std::string::npos) << r.err;
}

// The reproduction of the fault this guards against: from a/cwd, "--work ." and "--work .."
// once deleted everything in a.
TEST_F(ExtractCommandTest, RelativeWorkFoldersNeverReachAbove) {
  fs::create_directories(tmp / "a" / "cwd");
  WriteFile(tmp / "a" / "mine.txt", "keep");
  const std::string cwd = P("a/cwd");
  auto r = hv::test::Run(kHv, {"extract", zip, "--work", ".", "--choose", "a.prg"}, cwd);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, cwd + "/ReZip/a.prg\n");
  r = hv::test::Run(kHv, {"extract", zip, "--work", "..", "--choose", "a.prg"}, cwd);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("'" + P("a") + "/' is not deleted: it is not empty"), std::string::npos)
      << r.err;
  EXPECT_TRUE(fs::exists(tmp / "a" / "mine.txt"));
  r = hv::test::Run(kHv, {"extract", zip, "--work", P("a/mine.txt")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("it is a file"), std::string::npos) << r.err;
  const Bytes kept = ReadFile(tmp / "a" / "mine.txt");
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep");
}

TEST_F(ExtractCommandTest, PlayDryRunPrintsTheEmulatorLine) {
  HV_REQUIRE_TOOL(ToolPath(HV_CC1541));
  const std::string d64 = P("game.d64");
  ASSERT_EQ(
      hv::test::Run(ToolPath(HV_CC1541), {"-q", "-n", "g", "-i", "g1", "-f", "intro", "-T", "SEQ",
                                          "-w", P("a.prg"), "-f", "run me", "-w", P("b.prg"), d64})
          .exit_code,
      0);
  const std::string zipped = P("game.zip");
  ASSERT_EQ(hv::test::Run(ToolPath(HV_ZIP_TOOL), {"-q", "-j", zipped, d64}).exit_code, 0);
  WriteFile(tmp / "x64", std::string());
  const auto r = hv::test::Run(kHv,
                               {"play", zipped, "--emulator", "vice", "--emulator-path", P("x64"),
                                "--work", P("work"), "--dry-run"},
                               tmp.path().string());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("game file: " + P("work") + "/ReZip/game.d64\n"), std::string::npos);
  EXPECT_NE(r.out.find("command line: " + P("x64") + " -autostart \"" + P("work") +
                       "/ReZip/game.d64:run me\""),
            std::string::npos)
      << r.out;
}

// For people at a terminal: LF only, the separator on its own line, the command that ran first,
// how to choose, and which folder was missing.
TEST_F(ExtractCommandTest, MessagesSayWhatRanAndHowToGoOn) {
  auto r = hv::test::Run(kHv, {"extract", zip, "--work", P("work")});  // no terminal: declined
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err.find('\r'), std::string::npos);
  const std::string dashes(32, '-');
  EXPECT_EQ(r.err, "hv extract: " + zip +
                       ": You need to specify a default file to load into the emulators before you "
                       "can run this game.\n" +
                       dashes + "\na.prg\nb.prg\n" + dashes +
                       "\nhv extract: it holds several game files and none was chosen; choose one "
                       "with --choose NAME: a.prg, b.prg\n");
  r = hv::test::Run(kHv, {"extract", zip, "--work", P("deep/a/b/c")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("hv extract: the working folder " + P("deep/a/b/c") + " (its folder " +
                       P("deep/a/b") + " does not exist)"),
            std::string::npos)
      << r.err;
}

// Without --work, hv extract works where hv play does; the method's argument name still names
// the archive, and the help lists each argument once.
TEST_F(ExtractCommandTest, DefaultWorkFolderAliasAndHelp) {
  ::setenv("XDG_CACHE_HOME", P("cache").c_str(), 1);
  auto r = hv::test::Run(kHv, {"extract", "--FileToExtract", zip, "--choose", "a.prg"});
  ::unsetenv("XDG_CACHE_HOME");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, P("cache") + "/hv/work/ReZip/a.prg\n");
  EXPECT_EQ(hv::test::Run(kHv, {"extract", "--choose", "a.prg"}).exit_code, 2);
  r = hv::test::Run(kHv, {"extract", "--help"});
  EXPECT_EQ(r.out.find("FileToExtract", r.out.find("FileToExtract") + 1), std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("REQUIRED"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace hv::test
