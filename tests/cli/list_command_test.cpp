// `hv list` run as a program: what a user or a script sees.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
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
            "      \"FileType\": \"PRG\",\n"
            "      \"Blocks\": 664\n"
            "    },\n"
            "    {\n"
            "      \"Filename\": \"NOTES\",\n"
            "      \"FileSizeInBlocks\": \"    0\",\n"
            "      \"FileType\": \"SEQ<\",\n"
            "      \"Blocks\": 0\n"
            "    }\n"
            "  ],\n"
            "  \"BlocksFree\": 0\n"
            "}\n");

  const auto text = Hv({"list", path});
  EXPECT_EQ(text.exit_code, 0);
  // As c1541 shows PETSCII: 0x41-0x5A lower case, 0xE9 a graphic character with no ASCII form.
  EXPECT_NE(text.out.find("0 \"disk.           \" ab 2a\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("664  \"a?b\"              prg \n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("0    \"notes\"            seq<\n"), std::string::npos) << text.out;
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
  Bytes bare = Raw("C64File");
  bare.resize(26, 0);
  EXPECT_EQ(Hv({"list", Write("bare.p00", bare)}).exit_code, 0);
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
            "  \"SYSAddress\": \"(SYS 2049)\",\n  \"Bytes\": 3000,\n  \"Address\": 2049\n}\n");

  Bytes p00 = Raw(std::string("C64File\0GAME", 12));
  p00.resize(26 + 1024, 0);
  run = Hv({"list", "--json", Write("game.P07", p00)});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\n  \"Load\": true,\n  \"Signature\": \"C64File\",\n  \"Filename\": \"GAME\",\n"
            "  \"FileSize\": \"1.00Kb\",\n  \"Bytes\": 1024\n}\n");
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
  EXPECT_NE(run.out.find("1    \"intro\"            prg \n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1    \"data\"             seq \n"), std::string::npos) << run.out;
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
  EXPECT_NE(run.out.find("1    \"MANY\"             prg \n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1    \"MiXeDAa\"         *prg \n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1    \"Keep\"             prg<\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1    \"ab\"cd            *usr<\n"), std::string::npos) << run.out;
  const auto json = Hv({"list", "--json", image});  // the property values, as held
  EXPECT_NE(json.out.find("\"Filename\": \"\xC3\x8D\xC3\x81\xC3\x8E\xC3\x99\""), std::string::npos)
      << json.out;
}

// The disk of every entry kind and exactly what c1541 printed for it, line for line.
TEST_F(ListCommandTest, ListsAsC1541DoesLineForLine) {
  const std::string data = HV_C1541_LISTING;
  const auto run = Hv({"list", data + "/listing.d64"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const auto expected = test::ReadFile(data + "/c1541.txt");
  EXPECT_EQ(run.out, std::string(expected.begin(), expected.end()));
  EXPECT_EQ(run.err, "");
}

// D71, D81 and G64 as cc1541, which writes them all, lists them (a G64 as the D64 it was
// written from). Names, IDs, types and the blocks free all take part.
TEST_F(ListCommandTest, ListsEveryDiskKindAsCc1541Does) {
  const auto cc1541 = test::ToolPath(HV_CC1541);
  HV_REQUIRE_TOOL(cc1541);
  Bytes big(3000, 0x55);
  Write("big.prg", big);
  Write("a.prg", Bytes{0x01, 0x08, 0x00});
  const std::vector<std::string> files = {"-f",  "first", "-w",      "a.prg", "-f",    "Big One",
                                          "-P",  "-w",    "big.prg", "-f",    "notes", "-T",
                                          "SEQ", "-O",    "-w",      "a.prg"};
  for (const std::string kind : {"d64", "d71", "d81"}) {
    std::vector<std::string> args = {"-q", "-n", "disk " + kind, "-i", "k1 2a"};
    args.insert(args.end(), files.begin(), files.end());
    if (kind == "d64") args.insert(args.end(), {"-g", (dir_ / "disk.g64").string()});
    const auto image = (dir_ / ("disk." + kind)).string();
    args.push_back(image);
    ASSERT_EQ(test::Run(cc1541, args, dir_.path().string()).exit_code, 0) << kind;
    const std::string expected = test::Cc1541Listing(cc1541, image);
    ASSERT_NE(expected, "") << kind;
    auto run = Hv({"list", image});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, expected) << kind;
    if (kind == "d64") {
      run = Hv({"list", (dir_ / "disk.g64").string()});
      EXPECT_EQ(run.exit_code, 0) << run.err;
      EXPECT_EQ(run.out, expected) << "g64";
    }
  }
  // JSON of a D81: the texts the D64 reader would hold, and the numbers beside them.
  const auto json = Hv({"list", "--json", (dir_ / "disk.d81").string()});
  EXPECT_EQ(json.exit_code, 0) << json.err;
  EXPECT_NE(json.out.find("\"DiskName\": \"DISK D81\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"FileSizeInBlocks\": \"   12\",\n      \"FileType\": \"PRG<\",\n"
                          "      \"Blocks\": 12\n"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"FileType\": \"*SEQ\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"BlocksFree\": 3146\n"), std::string::npos) << json.out;
}

// A chain that loops is listed once, as cc1541 lists it, with a warning; the listing still
// succeeds.
TEST_F(ListCommandTest, ALoopingDirectoryIsListedOnceWithAWarning) {
  const auto cc1541 = test::ToolPath(HV_CC1541);
  HV_REQUIRE_TOOL(cc1541);
  Write("a.prg", Bytes{0x01, 0x08, 0x00});
  std::vector<std::string> args = {"-q"};
  for (int i = 0; i < 10; ++i)
    args.insert(args.end(), {"-f", "n" + std::to_string(i), "-w", "a.prg"});
  const auto image = (dir_ / "loop.d64").string();
  args.push_back(image);
  ASSERT_EQ(test::Run(cc1541, args, dir_.path().string()).exit_code, 0);
  Bytes bytes = test::ReadFile(image);
  const std::size_t first = test::D64Builder::Offset(18, 1);
  const std::size_t second = test::D64Builder::Offset(bytes[first], bytes[first + 1]);
  bytes[second] = 18;
  bytes[second + 1] = 1;
  test::WriteFile(image, bytes);
  const auto run = Hv({"list", image});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, test::Cc1541Listing(cc1541, image));
  EXPECT_EQ(run.err, "hv list: " + image +
                         ": warning: the directory chain comes back to track 18 sector 1; each "
                         "sector is listed once\n");
}

// What is no image of its type fails with the file and the reason named, and prints nothing.
TEST_F(ListCommandTest, FilesThatAreNoImageOfTheirTypeFail) {
  Bytes d64(174848, 0);
  const struct {
    std::string path;
    std::vector<std::string> extra;
    std::string why;
  } cases[] = {
      {Write("empty.d64", Bytes{}), {}, "not a D64 image: it holds 0 bytes"},
      {Write("short.d64", Bytes(1000, 0)), {}, "not a D64 image: it holds 1000 bytes"},
      {Write("prog.p00", Bytes(100, 0x01)), {}, "not a P00 file: no C64File signature"},
      {Write("disk.d64", d64), {"--type", "t64"}, "not a T64 image: no C64 tape signature"},
      {Write("disk2.d64", d64), {"--type", "d81"}, "not a D81 image: it holds 174848 bytes"},
      {Write("disk3.d64", d64), {"--type", "g64"}, "not a G64 image: no GCR-1541 signature"},
      {Write("tiny.prg", Bytes{0x01}), {}, "not a PRG file: it holds 1 bytes"},
  };
  for (const auto& c : cases) {
    for (const bool json : {false, true}) {
      std::vector<std::string> args = {"list", c.path};
      args.insert(args.end(), c.extra.begin(), c.extra.end());
      if (json) args.push_back("--json");
      const auto run = Hv(args);
      EXPECT_EQ(run.exit_code, 1) << c.path;
      EXPECT_EQ(run.err.rfind("hv list: " + c.path + ": " + c.why, 0), 0u) << run.err;
      if (json) {
        EXPECT_NE(run.out.find("\"Load\": false"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("\"Error\": \"" + c.why), std::string::npos) << run.out;
      } else {
        EXPECT_EQ(run.out, "") << c.path;
      }
    }
  }
}

// Several files: each listing under its name, the worst exit status, JSON as one array.
TEST_F(ListCommandTest, SeveralFilesAtOnce) {
  test::D64Builder image;
  image.DiskName(test::PaddedName("ONE")).Directory({{0x82, test::PaddedName("GAME"), 3}}, {1});
  const auto disk = Write("one.d64", image.bytes());
  const auto prg = Write("two.prg", Bytes{0x00, 0xC0});
  const auto bad = Write("bad.d64", Bytes(10, 0));
  auto run = Hv({"list", disk, prg});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, disk +
                         ":\n0 \"one             \"      \n3    \"game\"             prg \n"
                         "0 blocks free.\n\n" +
                         prg +
                         ":\nFile size:     0.00Kb\n"
                         "Load address:  $C000 (SYS 49152)\n");
  run = Hv({"list", bad, prg, "--json"});
  EXPECT_EQ(run.exit_code, 1);
  const auto all = nlohmann::json::parse(run.out);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0]["File"], bad);
  EXPECT_EQ(all[0]["Load"], false);
  EXPECT_EQ(all[1]["File"], prg);
  EXPECT_EQ(all[1]["Address"], 49152);
  EXPECT_EQ(Hv({"list", prg, Write("notes.txt", Bytes{1})}).exit_code, 2);
}

// A tape whose header says no entry is used: VICE takes the first record, and the listing
// shows it with a note.
TEST_F(ListCommandTest, TapeWithNoEntryUsedShowsItsFirstRecord) {
  test::T64Header header;
  header.entries_used = 0;
  Bytes tape = test::MakeT64(header, {test::PaddedName("GAME", ' ')});
  tape[0x40] = 1;  // a normal tape file
  const auto path = Write("zero.t64", tape);
  auto run = Hv({"list", path});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("Entries:    0 used of 30\n    1 \"game\"\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.err.find(path + ": note: the header says no entry is used"), std::string::npos)
      << run.err;
  run = Hv({"list", path, "--json"});
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["Entries"].size(), 0u);  // the reader's own view stays
  EXPECT_EQ(json["FirstRecord"]["C64Filename"], "GAME");
  tape[0x40] = 0;  // a free slot: nothing to take
  run = Hv({"list", Write("free.t64", tape)});
  EXPECT_EQ(run.err, "");
}

// An archive lists the game files it holds, each image with its directory, and leaves nothing
// behind in the temporary folder.
TEST_F(ListCommandTest, ArchivesListTheirGameFiles) {
  const auto zip = test::ToolPath(HV_ZIP_TOOL);
  HV_REQUIRE_TOOL(zip);
  test::D64Builder image;
  image.DiskName(test::PaddedName("ZIPPED")).Directory({{0x82, test::PaddedName("RUN"), 7}}, {1});
  Write("game.d64", image.bytes());
  Write("intro.prg", Bytes{0x01, 0x08, 0x00});
  const auto archive = (dir_ / "game.zip").string();
  ASSERT_EQ(test::Run(zip, {"-q", "-j", archive, (dir_ / "game.d64").string(),
                            (dir_ / "intro.prg").string()})
                .exit_code,
            0);
  auto run = Hv({"list", archive});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(
      run.out.find("game.d64:\n0 \"zipped          \"      \n7    \"run\"              prg \n"),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("intro.prg:\nFile size:"), std::string::npos) << run.out;
  run = Hv({"list", archive, "--json"});
  const auto json = nlohmann::json::parse(run.out);
  ASSERT_EQ(json["GameFiles"].size(), 2u);
  EXPECT_EQ(json["Load"], true);
  for (const auto& game : json["GameFiles"]) {
    if (game["Filename"] == "game.d64") {
      EXPECT_EQ(game["Entries"][0]["Blocks"], 7);
    }
  }
  run = Hv({"list", Write("broken.zip", Bytes(100, 0x50))});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("hv list: " + (dir_ / "broken.zip").string() + ": ", 0), 0u) << run.err;
}

}  // namespace
}  // namespace hv
