// `hv list` run as a program: what a user or a script sees.

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "support/tools.h"
#include "tessary/readers/image_builder.h"

namespace hv {
namespace {

using test::Bytes;
using test::Raw;

class ListCommandTest : public ::testing::Test {
 protected:
  test::RunResult Hv(const std::vector<std::string>& args) {
    return test::Run(std::string(HV_BIN_DIR) + "/hv", args);
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    const auto path = dir_ / name;
    test::WriteFile(path, bytes);
    return path.string();
  }
  test::TempDir dir_;
};

TEST_F(ListCommandTest, D64JsonKeepsTextsAsHeldInUtf8) {
  test::D64Builder image;
  image.DiskName(test::PaddedName("DISK\xE9"))
      .DiskIdBytes(Raw("AB\xA0"
                       "2A"));
  image.Directory(
      {{0x82, test::PaddedName(std::string("A\0B", 3)), 664}, {0xC1, test::PaddedName("NOTES"), 0}},
      {1});
  const auto path = Write("disk.d64", image.bytes());
  const auto run = Hv({"list", "--json", path});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\n"
            "  \"Load\": true,\n"
            "  \"DiskName\": \"DISK\xC3\xA9\",\n"
            "  \"DiskID\": \"AB 2A\",\n"
            "  \"Entries\": [\n"
            "    {\n"
            "      \"Filename\": \"A\\u0000B\",\n"
            "      \"FileSizeInBlocks\": \"  664\",\n"
            "      \"FileType\": \"PRG\"\n"
            "    },\n"
            "    {\n"
            "      \"Filename\": \"NOTES\",\n"
            "      \"FileSizeInBlocks\": \"    0\",\n"
            "      \"FileType\": \"SEQ<\"\n"
            "    }\n"
            "  ]\n"
            "}\n");

  const auto text = Hv({"list", path});
  EXPECT_EQ(text.exit_code, 0);
  // As c1541 shows PETSCII: 0x41-0x5A lower case, 0xE9 a graphic character with no ASCII form.
  EXPECT_NE(text.out.find("0 \"disk.           \" ab 2a\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("  664 \"a?b\"              PRG\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("    0 \"notes\"            SEQ<\n"), std::string::npos) << text.out;
}

TEST_F(ListCommandTest, P00ShorterThanItsHeaderFails) {
  for (std::size_t size : {0u, 25u}) {
    const auto path = Write("empty.p00", Bytes(size, 0));
    const auto run = Hv({"list", path});
    EXPECT_EQ(run.exit_code, 1) << size;
    EXPECT_NE(run.err.find(path + ": shorter than the 26-byte P00 header"), std::string::npos)
        << run.err;
  }
  // A bare header is an empty container, not a failure.
  EXPECT_EQ(Hv({"list", Write("bare.p00", Bytes(26, 0))}).exit_code, 0);
}

TEST_F(ListCommandTest, T64PrgAndP00Json) {
  test::T64Header header;
  header.entries_count = 30;
  header.entries_used = 1;
  const auto t64 = Write("tape.T64", test::MakeT64(header, {test::PaddedName("GAME", ' ')}));
  auto run = Hv({"list", "--json", t64});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::string nuls;
  for (int i = 0; i < 13; ++i) nuls += "\\u0000";
  EXPECT_EQ(run.out,
            "{\n  \"Load\": true,\n"
            "  \"Signature\": \"C64 tape image file" +
                nuls +
                "\",\n"
                "  \"Version\": \"$0100\",\n"
                "  \"TapeImageName\": \"GAMES\",\n"
                "  \"EntriesCount\": 30,\n"
                "  \"EntriesUsed\": 1,\n"
                "  \"Entries\": [\n    {\n      \"C64Filename\": \"GAME\"\n    }\n  ]\n}\n");

  // The plain listing shows tape names as PETSCII, without their shifted-space padding.
  header.entries_used = 2;
  const auto shifted =
      Write("shifted.t64",
            test::MakeT64(header, {test::PaddedName("\xC7\x41ME"), test::PaddedName("X\xA0Y")}));
  run = Hv({"list", shifted});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("Tape name:  games\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("    1 \"Game\"\n    2 \"x y\"\n"), std::string::npos) << run.out;

  Bytes program = {0x01, 0x08};
  program.resize(3000, 0);
  run = Hv({"list", "--json", Write("game.prg", program)});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\n  \"Load\": true,\n  \"FileSize\": \"2.93Kb\",\n  \"LoadAddress\": \"$0801\",\n"
            "  \"SYSAddress\": \"(SYS 2049)\"\n}\n");

  Bytes p00 = Raw(std::string("C64File\0GAME", 12));
  p00.resize(26 + 1024, 0);
  run = Hv({"list", "--json", Write("game.P07", p00)});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\n  \"Load\": true,\n  \"Signature\": \"C64File\",\n  \"Filename\": \"GAME\",\n"
            "  \"FileSize\": \"1.00Kb\"\n}\n");
}

TEST_F(ListCommandTest, TypeOptionOverridesTheExtension) {
  const auto path = Write("game.d64", Bytes{0x00, 0xC0, 0x60});
  const auto run = Hv({"list", "--type", "PRG", "--json", path});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("\"LoadAddress\": \"$C000\""), std::string::npos) << run.out;
  const auto text = Hv({"list", "--type", "prg", path});
  EXPECT_NE(text.out.find("$C000 (SYS 49152)"), std::string::npos) << text.out;
}

TEST_F(ListCommandTest, NonAsciiPathsReachTheReader) {
  const auto path = Write("sp\xC3\xA4ter.prg", Bytes{0x01, 0x08});
  const auto run = Hv({"list", "--json", path});
  EXPECT_EQ(run.exit_code, 0) << run.err;
}

TEST_F(ListCommandTest, FailuresAndUsageErrors) {
  auto run = Hv({"list", "--json", (dir_ / "missing.t64").string()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("File not found"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("\"Load\": false"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"EntriesUsed\": 0"), std::string::npos) << run.out;

  test::T64Header header;
  header.entries_used = 40000;  // the header is read, then loading stops
  run = Hv({"list", "--json", Write("big.t64", test::MakeT64(header, {}))});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("\"EntriesUsed\": 40000"), std::string::npos) << run.out;
  EXPECT_FALSE(run.err.empty());

  EXPECT_EQ(Hv({"list", Write("notes.txt", Bytes{1, 2})}).exit_code, 2);
  EXPECT_EQ(Hv({"list", Write("noext", Bytes{1, 2})}).exit_code, 2);
  EXPECT_EQ(Hv({"list", "--type", "zip", (dir_ / "x.d64").string()}).exit_code, 2);
  EXPECT_EQ(Hv({"list"}).exit_code, 2);
  EXPECT_EQ(Hv({"list", "--json"}).exit_code, 2);

  const auto help = Hv({"list", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--json"), std::string::npos);
  EXPECT_NE(help.out.find("--type"), std::string::npos);
}

TEST_F(ListCommandTest, ListsADiskMadeByCc1541) {
  const auto cc1541 = test::ToolPath(HV_CC1541);
  HV_REQUIRE_TOOL(cc1541);
  Write("a.prg", Bytes{0x01, 0x08, 0x00});
  const auto image = (dir_ / "made.d64").string();
  ASSERT_EQ(test::Run(cc1541,
                      {"-q", "-n", "made", "-i", "mk", "-f", "intro", "-w", "a.prg", "-f", "data",
                       "-T", "SEQ", "-w", "a.prg", image},
                      dir_.path().string())
                .exit_code,
            0);
  const auto run = Hv({"list", image});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("0 \"made            \" mk"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("    1 \"intro\"            PRG\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("    1 \"data\"             SEQ\n"), std::string::npos) << run.out;
}

// cc1541 writes upper-case letters as the shifted codes 0xC1-0xDA: they read as capitals, not
// as the Windows-1252 characters of those bytes; open and locked files are marked as a C64
// marks them, and what follows a shifted space shows after the closing quote.
TEST_F(ListCommandTest, ShowsCc1541NamesAsAC64Does) {
  const auto cc1541 = test::ToolPath(HV_CC1541);
  HV_REQUIRE_TOOL(cc1541);
  Write("a.prg", Bytes{0x01, 0x08, 0x00});
  const auto image = (dir_ / "names.d64").string();
  ASSERT_EQ(test::Run(cc1541, {"-q", "-n",          "Big Disk", "-f",    "MANY",    "-w", "a.prg",
                               "-f", "MiXeD#c1#41", "-O",       "-w",    "a.prg",   "-f", "Keep",
                               "-P", "-w",          "a.prg",    "-f",    "ab#a0cd", "-T", "USR",
                               "-O", "-P",          "-w",       "a.prg", image},
                      dir_.path().string())
                .exit_code,
            0);
  const auto run = Hv({"list", image});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("0 \"Big Disk        \" "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("    1 \"MANY\"             PRG\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("    1 \"MiXeDAa\"         *PRG\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("    1 \"Keep\"             PRG<\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("    1 \"ab\"cd            *USR<\n"), std::string::npos) << run.out;
  const auto json = Hv({"list", "--json", image});  // the property values, as held
  EXPECT_NE(json.out.find("\"Filename\": \"\xC3\x8D\xC3\x81\xC3\x8E\xC3\x99\""), std::string::npos)
      << json.out;
}

}  // namespace
}  // namespace hv
