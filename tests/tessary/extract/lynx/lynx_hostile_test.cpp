// Hand-built Lynx archives that lie about sizes, end early or carry names that must not
// become paths. Each must fail with a reason or land safely; nothing outside the folder
// changes and a failed run leaves no file behind.
#include <gtest/gtest.h>

#include "../zip/zip_fixture.h"
#include "lynx_builder.h"
#include "tessary/extract/unpack/lynx/lynx_extract.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::lynx {
namespace {

using test::BuildLynx;
using test::Bytes;
using test::SynthLynx;
namespace fs = std::filesystem;

class LynxHostileTest : public ::testing::Test {
 protected:
  hv::test::Unpacked Run(const SynthLynx& lynx, const unpack::UnpackOptions& options = {}) {
    return RunBytes(BuildLynx(lynx), options);
  }
  hv::test::Unpacked RunBytes(const Bytes& bytes, const unpack::UnpackOptions& options = {}) {
    const fs::path archive = area_.root() / "hostile.lnx";
    test::WriteFile(archive, bytes);
    const auto before = test::SnapshotOutside(area_.root(), "dest");
    auto result =
        hv::test::Attempt([&] { return ExtractLynx(archive.string(), area_.dest_str(), options); });
    EXPECT_EQ(test::SnapshotOutside(area_.root(), "dest"), before) << "changed outside dest";
    if (!result.ok) {
      EXPECT_FALSE(result.failure.empty());
      EXPECT_TRUE(area_.DestNames().empty()) << "a failed run left files behind";
    } else {
      EXPECT_EQ(area_.DestNames().size(), result.written.size()) << "unreported files";
    }
    return result;
  }
  void ExpectDamaged(const hv::test::Unpacked& result, const std::string& what) {
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.number, unpack::kInvalidFormat) << result.failure.description;
    EXPECT_NE(result.failure.description.find(what), std::string::npos)
        << result.failure.description;
  }

  test::ZipWorkArea area_;
};

SynthLynx TwoFiles() {
  return {.entries = {{.name = "FIRST", .data = test::PseudoRandomBytes(300, 1)},
                      {.name = "SECOND", .data = test::PseudoRandomBytes(100, 2)}}};
}

TEST_F(LynxHostileTest, TheBuiltArchiveItselfExtracts) {
  const auto result = Run(TwoFiles());
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, (std::vector<std::string>{"FIRST.prg", "SECOND.prg"}));
  EXPECT_EQ(test::ReadFile(area_.dest() / "SECOND.prg"), test::PseudoRandomBytes(100, 2));
}

TEST_F(LynxHostileTest, SizesThatPointPastTheEndAreRefused) {
  auto lynx = TwoFiles();
  lynx.entries[1].blocks = 2;
  lynx.entries[1].last = 50;
  ExpectDamaged(Run(lynx), "past the end");

  lynx = TwoFiles();
  lynx.entries[1].last = 102;  // one byte more than is there
  ExpectDamaged(Run(lynx), "past the end");

  lynx = TwoFiles();
  lynx.entries[0].blocks = 999999;  // pushes the second file far beyond the archive
  ExpectDamaged(Run(lynx), "past the end");
}

TEST_F(LynxHostileTest, ImpossibleFieldsAreRefused) {
  auto lynx = TwoFiles();
  lynx.entries[0].last = 0;
  ExpectDamaged(Run(lynx), "last block");
  lynx.entries[0].last = 256;
  ExpectDamaged(Run(lynx), "last block");

  lynx = TwoFiles();
  lynx.entries[0].type = "X";
  ExpectDamaged(Run(lynx), "file type");

  lynx = TwoFiles();
  lynx.entries[0].name = "SEVENTEEN CHARS!!";
  ExpectDamaged(Run(lynx), "too long");

  lynx = TwoFiles();
  lynx.entries[0].type = "R";
  lynx.entries[0].record_length = 300;
  ExpectDamaged(Run(lynx), "record length");
  lynx.entries[0].record_length = 10;
  lynx.entries[0].blocks = 1;  // a side sector and no data
  ExpectDamaged(Run(lynx), "relative file");
}

TEST_F(LynxHostileTest, DirectoriesThatEndEarlyOrLackTheirFrameAreRefused) {
  auto lynx = TwoFiles();
  lynx.count = 3;
  ExpectDamaged(Run(lynx), "directory ends");

  lynx = TwoFiles();
  lynx.signature = "*ARCHIVE*";
  ExpectDamaged(Run(lynx), "signature");

  ExpectDamaged(RunBytes({}), "BASIC stub");
  ExpectDamaged(RunBytes({0x01, 0x08, 0x20, 0x08}), "BASIC stub");
  // A link pointing backwards would loop for ever.
  ExpectDamaged(RunBytes({0x01, 0x08, 0x01, 0x08, 0x0A, 0x00, 0x00}), "BASIC stub");
  ExpectDamaged(RunBytes(test::LynxWithDirectoryText("\r 0  *LYNX*\r 0 \r")), "directory size");
  ExpectDamaged(RunBytes(test::LynxWithDirectoryText("\r 3  *LYNX*\r 0 \r")), "shorter");
  ExpectDamaged(RunBytes(test::LynxWithDirectoryText("\r 1  *LYNX*\r 1234567 \r")), "too large");
  ExpectDamaged(RunBytes(test::LynxWithDirectoryText("\r 1  *LYNX*\r X \r")), "no number");
}

TEST_F(LynxHostileTest, EveryPrefixOfAnArchiveFailsCleanlyOrExtractsWholeFiles) {
  const Bytes full = BuildLynx(TwoFiles());
  for (std::size_t size = 0; size < full.size(); size += 3) {
    const auto result = RunBytes(Bytes(full.begin(), full.begin() + size));
    EXPECT_FALSE(result.ok) << size;
    for (const auto& name : area_.DestNames()) fs::remove(area_.dest() / name);
  }
}

TEST_F(LynxHostileTest, SeparatorsAndDotsStayInsideTheFolder) {
  const auto result = Run({.entries = {{.name = "..", .data = {1}},
                                       {.name = "../../EVIL", .data = {2}},
                                       {.name = "A/B", .data = {3}}}});
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, (std::vector<std::string>{"_..prg", "_._.._EVIL.prg", "A_B.prg"}));
}

TEST_F(LynxHostileTest, DeviceNamesFailTheWholeRunBeforeAnythingIsWritten) {
  for (const char* name : {"CON", "NUL", "LPT1", "COM9", "AUX"}) {
    const auto result =
        Run({.entries = {{.name = "FINE", .data = {1}}, {.name = name, .data = {2}}}});
    EXPECT_FALSE(result.ok) << name;
    EXPECT_EQ(result.failure.number, vberr::kBadFileName) << name;
    EXPECT_NE(result.failure.description.find("Lynx"), std::string::npos);
  }
}

TEST_F(LynxHostileTest, TheBudgetCountsEveryFileBeforeTheFirstIsWritten) {
  unpack::UnpackOptions options;
  options.max_total_bytes = 399;
  ExpectDamaged(Run(TwoFiles(), options), "budget");
  options.max_total_bytes = 400;
  EXPECT_TRUE(Run(TwoFiles(), options).ok);
}

TEST_F(LynxHostileTest, RepeatedNamesAreAllKeptTheLaterNamedAfterTheArchive) {
  const auto result =
      Run({.entries = {{.name = "SAME", .data = {1}}, {.name = "SAME", .data = {2, 3}}}});
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, (std::vector<std::string>{"SAME.prg", "SAME (hostile).prg"}));
  EXPECT_EQ(test::ReadFile(area_.dest() / "SAME.prg"), (Bytes{1}));
  EXPECT_EQ(test::ReadFile(area_.dest() / "SAME (hostile).prg"), (Bytes{2, 3}));
}

TEST_F(LynxHostileTest, AnOpenLastLengthRunsToTheEndOfTheArchive) {
  // Early Lynx versions leave out the last file's length: it ends with the archive, or with
  // its blocks when the archive is padded beyond them.
  std::string text = "\r 1  *LYNX*\r 1 \rOLD\r 2 \rP\r";
  Bytes bytes = test::LynxWithDirectoryText(text);
  const Bytes data = test::PseudoRandomBytes(300, 4);
  bytes.insert(bytes.end(), data.begin(), data.end());
  auto result = RunBytes(bytes);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(test::ReadFile(area_.dest() / "OLD.prg"), data);

  bytes.resize(bytes.size() + 500, 0xEE);
  fs::remove(area_.dest() / "OLD.prg");
  result = RunBytes(bytes);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(test::ReadFile(area_.dest() / "OLD.prg").size(), 508u);
}

}  // namespace
}  // namespace hv::lynx
