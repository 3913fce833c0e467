// hv play through the real program: the program name VICE is given and the disk sets.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace hv::test {
namespace {

namespace fs = std::filesystem;

const std::string kHv = std::string(HV_BIN_DIR) + "/hv";

class PlayCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
    HV_REQUIRE_TOOL(ToolPath(HV_CC1541));
    WriteFile(tmp / "a.prg", std::string("\x01\x08", 2));
    WriteFile(tmp / "x64", std::string());
  }
  std::string P(const std::string& rel) const { return (tmp.path() / rel).string(); }
  // A disk made by cc1541 whose first program is `program`.
  void Disk(const std::string& name, const std::string& program) {
    ASSERT_EQ(hv::test::Run(ToolPath(HV_CC1541),
                            {"-q", "-f", "notes", "-T", "SEQ", "-w", "a.prg", "-f", program, "-w",
                             "a.prg", P(name)},
                            tmp.path().string())
                  .exit_code,
              0);
  }
  std::string Zip(const std::vector<std::string>& names) {
    std::vector<std::string> args = {"-q", "-j", P("game.zip")};
    for (const auto& n : names) args.push_back(P(n));
    EXPECT_EQ(hv::test::Run(ToolPath(HV_ZIP_TOOL), args).exit_code, 0);
    return P("game.zip");
  }
  RunResult Play(const std::string& zip, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {
        "play",   zip,      "--emulator", "vice",     "--emulator-path",
        P("x64"), "--work", P("work"),    "--dry-run"};
    args.insert(args.end(), more.begin(), more.end());
    return hv::test::Run(kHv, args, tmp.path().string());
  }
  TempDir tmp;
};

TEST_F(PlayCommandTest, ViceGetsTheNameInItsOwnCaseWithEscapes) {
  Disk("game.d64", "MiXeD\"$#c1");  // cc1541 writes "MiXeD", a quote, a dollar and 0xC1
  const auto r = Play(Zip({"game.d64"}));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("program: MiXeD$22$24A\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" -autostart \"" + P("work") + "/ReZip/game.d64:MiXeD$22$24A\""),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("-flipname"), std::string::npos);
}

TEST_F(PlayCommandTest, ATwoDiskZipStartsDiskOneWithAFliplist) {
  Disk("Game (Disk 1).d64", "part one");
  Disk("Game (Disk 2).d64", "part two");
  const auto r = Play(Zip({"Game (Disk 2).d64", "Game (Disk 1).d64"}), {"--m3u"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string rezip = P("work") + "/ReZip/";
  EXPECT_NE(r.out.find("game file: " + rezip + "Game (Disk 1).d64\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("disks: 2\n"), std::string::npos) << r.out;
  EXPECT_NE(
      r.out.find("command line: " + P("x64") + " -flipname \"" + rezip +
                 "Game (Disk 1).vfl\" -autostart \"" + rezip + "Game (Disk 1).d64:part one\""),
      std::string::npos)
      << r.out;
  const Bytes fliplist = ReadFile(rezip + "Game (Disk 1).vfl");
  EXPECT_EQ(std::string(fliplist.begin(), fliplist.end()),
            "# Vice fliplist file\r\n\r\nUNIT 8\r\n" + rezip + "Game (Disk 2).d64\r\n" + rezip +
                "Game (Disk 1).d64\r\n");
  const Bytes playlist = ReadFile(rezip + "Game (Disk 1).m3u");
  EXPECT_EQ(std::string(playlist.begin(), playlist.end()),
            "Game (Disk 1).d64\r\nGame (Disk 2).d64\r\n");
}

TEST_F(PlayCommandTest, EveryUsualNumberingIsASet) {
  const std::vector<std::vector<std::string>> sets = {
      {"Quest side b.d64", "Quest side a.d64"},
      {"quest_2.d64", "quest_1.d64"},
      {"Quest (3 of 3).d64", "Quest (1 of 3).d64", "Quest (2 of 3).d64"}};
  for (const auto& names : sets) {
    fs::remove(tmp / "game.zip");
    for (const auto& n : names) Disk(n, "go");
    const auto r = Play(Zip(names));
    ASSERT_EQ(r.exit_code, 0) << names[0] << r.err;
    EXPECT_NE(r.out.find("/ReZip/" + names[1] + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("disks: " + std::to_string(names.size()) + "\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("playlist:"), std::string::npos);
  }
}

TEST_F(PlayCommandTest, UnrelatedImagesStillGoToTheChooser) {
  Disk("Alpha.d64", "a");
  Disk("Beta.d64", "b");
  auto r = Play(Zip({"Alpha.d64", "Beta.d64"}));  // no terminal: the chooser declines
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("You need to specify a default file"), std::string::npos) << r.err;
  r = Play(P("game.zip"), {"--choose", "beta.d64"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find(":b\""), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("-flipname"), std::string::npos);
}

}  // namespace
}  // namespace hv::test
