// Members of the same name in one extraction, from archives made by Debian's zip, lha, cc1541,
// cbmconvert and disk2zip of real folders: nothing written earlier is replaced, the later one
// is named after where it came from, and the chooser is offered both.

#include <algorithm>

#include "extract_fixture.h"
#include "lha/lha_builder.h"
#include "support/bytes.h"
#include "support/tools.h"

namespace hv::tessary::test {
namespace {

using hv::test::Bytes;
using hv::test::ReadFile;
using hv::test::ToolPath;

class ExtractCollisionsTest : public ExtractTest {
 protected:
  // "Disk 1/NINJA.D64" and "Disk 2/NINJA.D64" below a source folder, different bytes each.
  fs::path TwoDisks() {
    const fs::path src = tmp / "src";
    for (const char* disk : {"Disk 1", "Disk 2"}) {
      fs::create_directories(src / disk);
      hv::test::WriteFile(src / disk / "NINJA.D64", std::string("side of ") + disk);
    }
    return src;
  }

  // What the chooser was offered first, sorted.
  std::vector<std::string> Offered() {
    if (chooser.offered.empty()) return {};
    std::vector<std::string> names = chooser.offered.front();
    std::sort(names.begin(), names.end());
    return names;
  }

  // Both disks reached the level the chooser saw, and the one picked is disk 2.
  void ExpectBothDisks(const fs::path& stored) {
    chooser.answers = {"NINJA (Disk 2).D64"};
    const Outcome o = Extract(stored);
    ASSERT_TRUE(o.ok) << o.fail;
    EXPECT_EQ(Offered(), (std::vector<std::string>{"NINJA (Disk 2).D64", "NINJA.D64"}));
    EXPECT_EQ(ReadFile(o.file),
              (Bytes{'s', 'i', 'd', 'e', ' ', 'o', 'f', ' ', 'D', 'i', 's', 'k', ' ', '2'}));
    EXPECT_EQ(ReadFile(work() / "ReZip" / "NINJA.D64").back(), '1');
  }
};

TEST_F(ExtractCollisionsTest, ZipOfTwoFoldersKeepsBothDisks) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  const fs::path src = TwoDisks();
  const auto r =
      hv::test::Run(ToolPath(HV_ZIP_TOOL),
                    {"-qr", (store / "ninja.zip").string(), "Disk 1", "Disk 2"}, src.string());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  ExpectBothDisks(store / "ninja.zip");
}

// No Debian tool writes LHA archives: this one is built as MS-DOS LHA stores folders, whose
// names the reader lowers as lha does.
TEST_F(ExtractCollisionsTest, LhaOfTwoFoldersKeepsBothDisks) {
  hv::test::WriteFile(store / "ninja.lzh", hv::test::BuildLha({{"DISK1\\NINJA.D64", {'1'}},
                                                               {"DISK2\\NINJA.D64", {'2'}}}));
  chooser.answers = {"ninja (disk2).d64"};
  const Outcome o = Extract(store / "ninja.lzh");
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(Offered(), (std::vector<std::string>{"ninja (disk2).d64", "ninja.d64"}));
  EXPECT_EQ(ReadFile(o.file), Bytes{'2'});
  EXPECT_EQ(ReadFile(work() / "ReZip" / "ninja.d64"), Bytes{'1'});
}

// Two Lynx archives of one zip, each holding a file of the same C64 name: both files arrive,
// the second named after its archive.
TEST_F(ExtractCollisionsTest, LynxArchivesWithTheSameFileKeepBoth) {
  HV_REQUIRE_TOOL(ToolPath(HV_CC1541));
  HV_REQUIRE_TOOL(ToolPath(HV_CBMCONVERT));
  std::vector<fs::path> archives;
  for (const char* side : {"sidea", "sideb"}) {
    const fs::path prg = Store(std::string(side) + ".prg", std::string("\x01\x08") + side);
    const fs::path image = store / (std::string(side) + ".d64");
    ASSERT_EQ(hv::test::Run(ToolPath(HV_CC1541),
                            {"-q", "-n", side, "-f", "game", "-w", prg.string(), image.string()})
                  .exit_code,
              0);
    archives.push_back(store / (std::string(side) + ".lnx"));
    ASSERT_EQ(
        hv::test::Run(ToolPath(HV_CBMCONVERT),
                      {"-v0", "-L", archives.back().string(), "-d", image.string()}, store.string())
            .exit_code,
        0);
  }
  const Outcome o = Extract(Zip("sides.zip", archives));
  EXPECT_FALSE(o.ok);  // nothing chosen
  ASSERT_EQ(chooser.offered.size(), 1u);
  const std::vector<std::string> offered = Offered();
  ASSERT_EQ(offered.size(), 2u) << o.fail;
  // " (" sorts before ".".
  EXPECT_EQ(offered[0], offered[1].substr(0, offered[1].rfind('.')) + " (sideb).prg");
}

// Two disk sets whose names differ only in case are one name on Windows: both are joined.
TEST_F(ExtractCollisionsTest, DiskSetsOfOneNameKeepBoth) {
  HV_REQUIRE_TOOL(ToolPath(HV_DISK2ZIP_TOOL));
  const fs::path image = D64("set.d64");
  std::vector<fs::path> parts;
  for (const char* base : {"game", "GAME"}) {
    ASSERT_EQ(
        hv::test::Run(ToolPath(HV_DISK2ZIP_TOOL), {image.string(), base}, store.string()).exit_code,
        0);
    for (int i = 1; i <= 4; ++i) parts.push_back(store / (std::to_string(i) + "!" + base));
  }
  const Outcome o = Extract(Zip("sets.zip", parts));
  EXPECT_FALSE(o.ok);  // nothing chosen
  const std::vector<std::string> offered = Offered();
  ASSERT_EQ(offered.size(), 2u) << o.fail;
  // Zip members are written flat too: whichever set came first keeps its names, the other's
  // parts are named after the zip, and so is its image.
  const std::vector<std::vector<std::string>> either = {{"GAME (sets).d64", "game.d64"},
                                                        {"GAME.d64", "game (sets).d64"}};
  EXPECT_TRUE(offered == either[0] || offered == either[1]) << offered[0] << ", " << offered[1];
  for (const std::string& name : offered) {
    EXPECT_EQ(ReadFile(work() / "P1" / "P2" / name), ReadFile(image)) << name;
  }
}

}  // namespace
}  // namespace hv::tessary::test
