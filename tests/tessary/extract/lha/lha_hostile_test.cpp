// Synthesized LHA archives for the edge cases: names that aim outside the folder or at a
// device, damaged data, unknown methods, sizes beyond the budget, and archives cut short.
#include <gtest/gtest.h>

#include "../zip/zip_fixture.h"
#include "lha_builder.h"
#include "support/tools.h"
#include "tessary/extract/unpack/lha/lha_extract.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::lha {
namespace {

using test::BuildLha;
using test::Bytes;
using test::LhaMember;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

class LhaHostileTest : public ::testing::Test {
 protected:
  hv::test::Unpacked Extract(const Bytes& archive, const unpack::UnpackOptions& options = {}) {
    const fs::path path = area_.root() / "test.lzh";
    WriteFile(path, archive);
    return hv::test::Attempt([&] { return ExtractLha(path.string(), area_.dest_str(), options); });
  }

  // A damaged archive: failure 321 naming the problem, and the folder as it was.
  void ExpectRefused(const Bytes& archive, const std::string& why,
                     const std::vector<std::string>& left = {}) {
    const auto result = Extract(archive);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.number, unpack::kInvalidFormat) << result.failure.description;
    EXPECT_NE(result.failure.description.find("The LHA archive is damaged or unsupported: " + why),
              std::string::npos)
        << result.failure.description;
    EXPECT_EQ(area_.DestNames(), left);
  }

  test::ZipWorkArea area_;
};

TEST_F(LhaHostileTest, TheBuilderMakesWhatDebiansLhaReads) {
  const std::string lha = test::ToolPath(HV_LHA_TOOL);
  HV_REQUIRE_TOOL(lha);
  const fs::path path = area_.root() / "built.lzh";
  WriteFile(path, BuildLha({{"first.prg", Bytes{1, 2, 3}}, {"disk.d64", Bytes(1000, 7)}}));
  const auto run = test::Run(lha, {"t", path.string()});
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
}

TEST_F(LhaHostileTest, FoldersInNamesAreDroppedAndDosCapitalsLowered) {
  const auto result = Extract(BuildLha({{"GAMES\\DISK1.D64", Bytes{1}},
                                        {"..\\..\\escape.prg", Bytes{2}},
                                        {"\\root.prg", Bytes{3}},
                                        {"C:\\TEMP\\Mixed.Prg", Bytes{4}}}));
  ASSERT_TRUE(result.ok) << result.failure.description;
  // lhasa lowers names that are all capitals, as MS-DOS archivers stored them.
  EXPECT_EQ(result.written,
            (std::vector<std::string>{"disk1.d64", "escape.prg", "root.prg", "Mixed.Prg"}));
  EXPECT_EQ(area_.DestNames(),
            (std::vector<std::string>{"Mixed.Prg", "disk1.d64", "escape.prg", "root.prg"}));
  EXPECT_EQ(ReadFile(area_.dest() / "escape.prg"), Bytes{2});
  EXPECT_EQ(ReadFile(area_.root() / "outside.prg"),
            test::Bytes({'m', 'u', 's', 't', ' ', 's', 't', 'a', 'y'}));
}

// Nothing written earlier is replaced: a member without a folder is named after the archive,
// one with a folder after its folder.
TEST_F(LhaHostileTest, FilesOfTheSameNameAreAllKept) {
  WriteFile(area_.dest() / "game.prg", std::string("old"));
  const auto result =
      Extract(BuildLha({{"game.prg", Bytes{1}}, {"a\\game.prg", Bytes{2, 2}}, {"x.prg", {}}}));
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, (std::vector<std::string>{"game (test).prg", "game (a).prg", "x.prg"}));
  EXPECT_EQ(ReadFile(area_.dest() / "game.prg"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(ReadFile(area_.dest() / "game (test).prg"), (Bytes{1}));
  EXPECT_EQ(ReadFile(area_.dest() / "game (a).prg"), (Bytes{2, 2}));
  EXPECT_TRUE(ReadFile(area_.dest() / "x.prg").empty());
}

TEST_F(LhaHostileTest, UnsafeNamesStopTheRunBeforeAnythingIsWritten) {
  for (const char* name : {"CON", "games\\nul.prg", "lpt1.d64", "..", "dir\\"}) {
    SCOPED_TRACE(name);
    const auto result = Extract(BuildLha({{"good.prg", Bytes{1}}, {name, Bytes{2}}}));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.number, vberr::kBadFileName) << result.failure.description;
    EXPECT_TRUE(area_.DestNames().empty());
  }
}

TEST_F(LhaHostileTest, DamagedDataFailsAndLeavesNoFileForIt) {
  LhaMember bad{"bad.prg", Bytes(500, 9)};
  bad.crc = 0x1234;
  ExpectRefused(BuildLha({bad}), "CRC error in bad.prg");
  // The files before it were complete and stay; no temporary file is left.
  ExpectRefused(BuildLha({{"good.prg", Bytes{5}}, bad}), "CRC error", {"good.prg"});
  fs::remove(area_.dest() / "good.prg");

  LhaMember longer{"long.prg", Bytes(100, 1)};
  longer.length = 200;  // stored data ends before the recorded size
  ExpectRefused(BuildLha({longer}), "data shorter than its recorded size");
}

TEST_F(LhaHostileTest, UnknownMethodsAndCutArchivesAreRefusedBeforeWriting) {
  LhaMember lh2{"old.prg", Bytes{1, 2}, "-lh2-"};
  ExpectRefused(BuildLha({{"good.prg", Bytes{1}}, lh2}), "unsupported method -lh2-: old.prg");
  LhaMember garbage{"junk.prg", Bytes{1, 2}, "-xyz-"};
  ExpectRefused(BuildLha({{"good.prg", Bytes{1}}, garbage}), "unsupported method -xyz-");
  // First in the file, a method field of no known family is not even taken for a header.
  ExpectRefused(BuildLha({garbage}), "no LHA header found");

  const Bytes whole =
      BuildLha({{"first.prg", Bytes(100, 1)}, {"second.prg", Bytes(300, 2)}}, false);
  ExpectRefused(Bytes(whole.begin(), whole.end() - 10),
                "the file ends inside the data of second.prg");
  // A header cut in half is no clean end either.
  ExpectRefused(Bytes(whole.begin(), whole.begin() + 100 + 24 + 30), "unreadable header at offset");
}

TEST_F(LhaHostileTest, BytesAfterTheLastEntryMustBeAnEndMarker) {
  Bytes archive = BuildLha({{"first.prg", Bytes{1}}}, false);
  Bytes marked = archive;
  marked.push_back(0);
  marked.insert(marked.end(), {'a', 'n', 'y', 't', 'h', 'i', 'n', 'g'});
  auto result = Extract(marked);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"first.prg"});
  fs::remove(area_.dest() / "first.prg");

  // ^Z padding from an XMODEM transfer ends the archive too; a full block of it does not.
  Bytes padded = archive;
  padded.insert(padded.end(), 127, 0x1A);
  result = Extract(padded);
  ASSERT_TRUE(result.ok) << result.failure.description;
  fs::remove(area_.dest() / "first.prg");
  padded.push_back(0x1A);
  ExpectRefused(padded, "unreadable header at offset 34");

  archive.insert(archive.end(), {'P', 'K', 3, 4, 'x', 'x'});
  ExpectRefused(archive, "unreadable header at offset 34");
}

TEST_F(LhaHostileTest, NoHeaderAtAllIsNoArchive) {
  ExpectRefused({}, "no LHA header found");
  ExpectRefused(Bytes(5000, 0x41), "no LHA header found");
  ExpectRefused(Bytes{0}, "no LHA header found");
  const auto missing = hv::test::Attempt(
      [&] { return ExtractLha((area_.root() / "missing.lzh").string(), area_.dest_str()); });
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.failure.number, vberr::kFileNotFound);
}

TEST_F(LhaHostileTest, SizesBeyondTheBudgetOrTheRatioCapAreRefusedBeforeWriting) {
  unpack::UnpackOptions small;
  small.max_total_bytes = 1000;
  auto result = Extract(BuildLha({{"a.prg", Bytes(600, 1)}, {"b.prg", Bytes(600, 2)}}), small);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.failure.description.find("size budget"), std::string::npos);
  EXPECT_TRUE(area_.DestNames().empty());

  // A header claiming 2 MiB from 100 stored bytes: a bomb, whatever the data would give.
  LhaMember bomb{"bomb.d64", Bytes(100, 0), "-lh5-"};
  bomb.length = 2 << 20;
  ExpectRefused(BuildLha({{"good.prg", Bytes{1}}, bomb}), "compression ratio too high");
  LhaMember huge{"huge.d64", Bytes(100, 0), "-lh5-"};
  huge.length = std::int64_t{300} << 20;
  ExpectRefused(BuildLha({huge}), "entry too large");
}

}  // namespace
}  // namespace hv::lha
