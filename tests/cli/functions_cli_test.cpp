// The general-function commands of hv, run as a user would.

#include <gtest/gtest.h>

#include "common/error.h"
#include "support/bytes.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace {

const std::string kHv = std::string(HV_BIN_DIR) + "/hv";

TEST(FunctionsCommandsTest, ConfigSetRewritesAndReportsErrors) {
  hv::test::TempDir dir;
  hv::test::WriteFile(dir / "C.CFG", std::string("$A=1\r\n\r\n$B=2"));
  auto r = hv::test::Run(kHv, {"config", "set", (dir / "C.CFG").string(), "$b=3", "--json"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("\"KeyToChange\": \"$b\""), std::string::npos);
  const auto bytes = hv::test::ReadFile(dir / "C.CFG");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "$A=1\r\n$b=3\r\n");
  r = hv::test::Run(kHv, {"config", "set", (dir / "NONE.CFG").string(), "A=1", "--json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.out.find("\"Number\": " + std::to_string(hv::vberr::kFileNotFound)),
            std::string::npos);
  r = hv::test::Run(kHv, {"config", "set", (dir / "C.CFG").string(), "NOEQUALS"});
  EXPECT_EQ(r.exit_code, 2);
}

TEST(FunctionsCommandsTest, ConfigSetKeepsEveryLineOfAnLfFile) {
  hv::test::TempDir dir;
  const std::string ini = (dir / "vice.ini").string();
  hv::test::WriteFile(dir / "vice.ini", std::string("[C64]\nSound=1\nVideo=2\n"));
  auto r = hv::test::Run(kHv, {"config", "set", ini, "Sound=0"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  auto bytes = hv::test::ReadFile(dir / "vice.ini");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[C64]\nSound=0\nVideo=2\n");

  // An empty key would replace the first line: refused, and the file stays as it was.
  r = hv::test::Run(kHv, {"config", "set", ini, "=0"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("'=0'"), std::string::npos) << r.err;
  bytes = hv::test::ReadFile(dir / "vice.ini");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[C64]\nSound=0\nVideo=2\n");

  r = hv::test::Run(kHv, {"config", "set", (dir / "none.ini").string(), "A=1"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find((dir / "none.ini").string() + ": Error 53"), std::string::npos) << r.err;
}

TEST(FunctionsCommandsTest, SidInfoAndSetDefault) {
  hv::test::TempDir dir;
  hv::test::Bytes tune(0x80, 0);
  hv::test::Put(tune, 0, "PSID");
  tune[0x0F] = 4;
  tune[0x11] = 1;
  hv::test::Put(tune, 0x16, "SONG");
  hv::test::WriteFile(dir / "T.SID", tune);
  const std::string file = (dir / "T.SID").string();
  auto r = hv::test::Run(kHv, {"sid", "set-default", file, "2"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  r = hv::test::Run(kHv, {"sid", "info", file, "--json"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find("\"intDefaultSong\": 2"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"intTotalSongs\": 4"), std::string::npos);
  EXPECT_NE(r.out.find("\"strName\": \"SONG\""), std::string::npos);
  r = hv::test::Run(kHv, {"sid", "set-default", file, "999"});
  EXPECT_EQ(r.exit_code, 1);
}

TEST(FunctionsCommandsTest, FindPrintsHitsThenTotal) {
  hv::test::TempDir dir;
  hv::test::WriteFile(dir / "A.SID", std::string(10, 'x'));
  const auto r = hv::test::Run(kHv, {"find", dir.path().string(), "*.sid"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, (dir / "A.SID").string() + "\n10 bytes\n");
}

TEST(FunctionsCommandsTest, FindInAMissingFolderFails) {
  hv::test::TempDir dir;
  const std::string missing = (dir / "gone").string();
  auto r = hv::test::Run(kHv, {"find", missing, "*.sid"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "hv find: " + missing + ": no such folder\n");
  EXPECT_EQ(r.out, "");
  hv::test::WriteFile(dir / "A.SID", std::string("x"));
  r = hv::test::Run(kHv, {"find", (dir / "A.SID").string(), "*.sid"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("A.SID: not a folder"), std::string::npos) << r.err;
}

TEST(FunctionsCommandsTest, UnknownCommandsAreNamedWithTheKnownOnes) {
  auto r = hv::test::Run(kHv, {"bogus"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("hv: unknown command \"bogus\"; the commands are: list, reg, launch"),
            std::string::npos)
      << r.err;
  r = hv::test::Run(kHv, {"config", "sett", "f", "A=1"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.err, "hv config: unknown command \"sett\"; the commands are: set\n");
  // Aliases and options are no unknown commands.
  EXPECT_NE(hv::test::Run(kHv, {"path", "is-cdrom", "/"}).exit_code, 2);
  EXPECT_EQ(hv::test::Run(kHv, {"--help"}).exit_code, 0);
}

TEST(FunctionsCommandsTest, PathQuestions) {
  hv::test::TempDir dir;
  EXPECT_EQ(hv::test::Run(kHv, {"path", "exists", (dir / "X").string()}).exit_code, 1);
  EXPECT_EQ(hv::test::Run(kHv, {"path", "short", dir.path().string()}).out,
            dir.path().string() + "\n");
  EXPECT_EQ(hv::test::Run(kHv, {"path", "is-cdrom", (dir / "X").string()}).exit_code, 0);
  EXPECT_EQ(hv::test::Run(kHv, {"path", "volume", dir.path().string(), "--json"}).exit_code, 0);
}

// A key the file does not hold is named, and nothing is written.
TEST(FunctionsCommandsTest, ConfigSetOfAMissingKeyChangesNothing) {
  hv::test::TempDir dir;
  const std::string ini = (dir / "vice.ini").string();
  hv::test::WriteFile(dir / "vice.ini", std::string("[C64]\nSound=1\n"));
  auto r = hv::test::Run(kHv, {"config", "set", ini, "Sound=0", "Video=2", "Speed=1"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "hv config set: " + ini + ": no line starts with Video, Speed; nothing was changed\n");
  const auto bytes = hv::test::ReadFile(dir / "vice.ini");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[C64]\nSound=1\n");
  r = hv::test::Run(kHv, {"config", "set", ini, "video=2", "--json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.out.find("\"Unmatched\": [\n    \"video\"\n  ]"), std::string::npos) << r.out;
}

hv::test::Bytes Tune(const char* magic, int songs, int start) {
  hv::test::Bytes tune(0x7C, 0);
  hv::test::Put(tune, 0, magic);
  tune[0x0F] = static_cast<std::uint8_t>(songs);
  tune[0x11] = static_cast<std::uint8_t>(start);
  hv::test::Put(tune, 0x16, "TUNE");
  return tune;
}

// RSID tunes read and change as PSID ones; a start song beyond the songs, a missing file and
// a file that is no tune are each refused with the reason.
TEST(FunctionsCommandsTest, SidTunesOfBothKindsAndTheirRefusals) {
  hv::test::TempDir dir;
  hv::test::WriteFile(dir / "r.sid", Tune("RSID", 3, 1));
  const std::string file = (dir / "r.sid").string();
  auto r = hv::test::Run(kHv, {"sid", "info", file});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("Songs:     3\nDefault:   1\nFormat:    RSID\n"), std::string::npos)
      << r.out;
  r = hv::test::Run(kHv, {"sid", "set-default", file, "3"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(hv::test::ReadFile(dir / "r.sid")[0x11], 3);
  r = hv::test::Run(kHv, {"sid", "set-default", file, "4"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "hv sid set-default: " + file +
                       ": song 4 is not one of the tune's 3 songs; nothing was changed\n");
  EXPECT_EQ(hv::test::ReadFile(dir / "r.sid")[0x11], 3);

  const std::string missing = (dir / "gone.sid").string();
  r = hv::test::Run(kHv, {"sid", "info", missing});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "hv sid info: " + missing + ": not found\n");
  EXPECT_EQ(r.out, "");
  hv::test::WriteFile(dir / "text.sid", std::string(200, 'x'));
  r = hv::test::Run(kHv, {"sid", "info", (dir / "text.sid").string()});
  EXPECT_NE(r.err.find("text.sid: not a PSID or RSID tune"), std::string::npos) << r.err;
  r = hv::test::Run(kHv, {"sid", "set-default", missing, "1"});
  EXPECT_EQ(r.err, "hv sid set-default: " + missing + ": not found\n");
}

TEST(FunctionsCommandsTest, PathShortSaysWhyAndIsCdromNamesItself) {
  hv::test::TempDir dir;
  const std::string gone = (dir / "gone").string();
  auto r = hv::test::Run(kHv, {"path", "short", gone});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "hv path short: " + gone + ": not found\n");
  r = hv::test::Run(kHv, {"path", "short", (dir / "no" / "x").string()});
  EXPECT_NE(r.err.find(": not found: its folder " + (dir / "no").string() + " does not exist"),
            std::string::npos)
      << r.err;
  r = hv::test::Run(kHv, {"path", "is-cdrom", "--help"});
  EXPECT_NE(r.out.find(kHv + " path is-cdrom"), std::string::npos) << r.out;
  r = hv::test::Run(kHv, {"path", "drive-type", "--help"});
  EXPECT_NE(r.out.find(kHv + " path drive-type"), std::string::npos) << r.out;
  r = hv::test::Run(kHv, {"path", "--help"});
  EXPECT_EQ(r.out.find("drive-type"), std::string::npos) << r.out;  // one entry for the question
}

TEST(FunctionsCommandsTest, FindJsonIsOneObject) {
  hv::test::TempDir dir;
  hv::test::WriteFile(dir / "A.SID", std::string(10, 'x'));
  const auto r = hv::test::Run(kHv, {"find", dir.path().string(), "*.sid", "--json"});
  EXPECT_EQ(r.exit_code, 0);
  // "path" is the method's in/out argument, which the search ends with a separator.
  EXPECT_EQ(r.out, "{\n  \"path\": \"" + dir.path().string() +
                       "/\",\n  \"FoundFile\": [\n    {\n      \"strPathAndFile\": \"" +
                       (dir / "A.SID").string() + "\"\n    }\n  ],\n  \"FindFiles\": 10\n}\n");
}

}  // namespace
