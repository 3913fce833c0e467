// Lynx archives made by cbmconvert from cc1541 images: each file must come out byte for byte
// as cbmconvert itself extracts it, and as it went onto the disk.
#include "tessary/extract/unpack/lynx/lynx_extract.h"

#include <gtest/gtest.h>

#include <regex>

#include "../zip/zip_fixture.h"
#include "support/tools.h"

namespace hv::lynx {
namespace {

using test::Bytes;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

struct SourceFile {
  std::string c64_name;  // as given to cc1541 (ASCII)
  std::string type;      // cc1541's -T
  Bytes data;
  std::string expected;  // our file name
};

class LynxExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cc1541_ = test::ToolPath(HV_CC1541);
    cbmconvert_ = test::ToolPath(HV_CBMCONVERT);
    if (cc1541_.empty() || cbmconvert_.empty()) GTEST_SKIP() << "cc1541 or cbmconvert missing";
  }

  // Runs cbmconvert in `dir` and returns the files it reports, in archive order.
  std::vector<std::string> Cbmconvert(const fs::path& dir, const std::vector<std::string>& args) {
    fs::create_directories(dir);
    std::vector<std::string> all = {"-v2"};
    all.insert(all.end(), args.begin(), args.end());
    const auto run = test::Run(cbmconvert_, all, dir.string());
    EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
    std::vector<std::string> files;
    const std::regex line("(Writing|Wrote) [0-9]+ bytes to \"([^\"]*)\"");
    const std::string log = run.out + run.err;
    for (std::sregex_iterator it(log.begin(), log.end(), line), end; it != end; ++it) {
      files.push_back((*it)[2]);
    }
    return files;
  }

  fs::path MakeImage(const std::vector<SourceFile>& files) {
    std::vector<std::string> args = {"-n", "LYNX TEST", "-i", "LT"};
    for (std::size_t i = 0; i < files.size(); ++i) {
      const fs::path raw = area_.src() / ("raw" + std::to_string(i));
      WriteFile(raw, files[i].data);
      args.insert(args.end(), {"-T", files[i].type, "-f", files[i].c64_name, "-w", raw.string()});
    }
    const fs::path image = area_.root() / "source.d64";
    args.push_back(image.string());
    const auto run = test::Run(cc1541_, args);
    EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
    return image;
  }

  // Our extraction against cbmconvert's own, file by file in archive order; the file names'
  // extensions agree, the C64 names may be spelt differently.
  void ExpectSameAsCbmconvert(const fs::path& archive, const hv::test::Unpacked& result) {
    const fs::path theirs = area_.root() / "cbmconvert-out";
    const auto names = Cbmconvert(theirs, {"-N", "-l", archive.string()});
    ASSERT_EQ(names.size(), result.written.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(ReadFile(area_.dest() / result.written[i]), ReadFile(theirs / names[i]))
          << result.written[i] << " vs " << names[i];
      EXPECT_EQ(fs::path(result.written[i]).extension(), fs::path(names[i]).extension());
    }
  }

  test::ZipWorkArea area_;
  std::string cc1541_, cbmconvert_;
};

TEST_F(LynxExtractTest, FilesOfEverySizeAndTypeComeOutAsTheyWentIn) {
  std::vector<SourceFile> files = {
      {"ONE", "PRG", test::PseudoRandomBytes(1, 1), "ONE.prg"},
      {"BLOCK", "PRG", test::PseudoRandomBytes(254, 2), "BLOCK.prg"},
      {"TWO BLOCKS", "PRG", test::PseudoRandomBytes(508, 3), "TWO BLOCKS.prg"},
      {"PART 1/2", "PRG", test::PseudoRandomBytes(3000, 4), "PART 1_2.prg"},
      {"DATA", "SEQ", test::PseudoRandomBytes(6, 5), "DATA.seq"},
      {"USER", "USR", test::PseudoRandomBytes(300, 6), "USER.usr"},
      {"GONE", "DEL", test::PseudoRandomBytes(255, 7), "GONE.del"},
  };
  // Enough entries for a directory of several blocks.
  for (int i = 1; i <= 14; ++i) {
    const std::string name = "FILE" + std::to_string(i);
    files.push_back({name, "PRG", test::PseudoRandomBytes(97 * i, 10 + i), name + ".prg"});
  }
  const fs::path archive = area_.root() / "game.lnx";
  Cbmconvert(area_.root(), {"-L", archive.string(), "-d", MakeImage(files).string()});

  const auto result =
      hv::test::Attempt([&] { return ExtractLynx(archive.string(), area_.dest_str()); });
  ASSERT_TRUE(result.ok) << result.failure.description;
  ASSERT_EQ(result.written.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(result.written[i], files[i].expected);
    EXPECT_EQ(ReadFile(area_.dest() / files[i].expected), files[i].data) << files[i].expected;
  }
  EXPECT_EQ(area_.DestNames().size(), files.size()) << "stray files in the folder";
  ExpectSameAsCbmconvert(archive, result);
}

TEST_F(LynxExtractTest, EmptyFilesTakeNoBlocks) {
  WriteFile(area_.src() / "empty.prg", Bytes{});
  WriteFile(area_.src() / "after.prg", test::PseudoRandomBytes(400, 3));
  const fs::path archive = area_.root() / "empty.lnx";
  Cbmconvert(area_.src(), {"-n", "-L", archive.string(), "empty.prg", "after.prg"});

  const auto result =
      hv::test::Attempt([&] { return ExtractLynx(archive.string(), area_.dest_str()); });
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, (std::vector<std::string>{"EMPTY.prg", "AFTER.prg"}));
  EXPECT_EQ(ReadFile(area_.dest() / "EMPTY.prg"), Bytes{});
  EXPECT_EQ(ReadFile(area_.dest() / "AFTER.prg"), test::PseudoRandomBytes(400, 3));
  ExpectSameAsCbmconvert(archive, result);
}

TEST_F(LynxExtractTest, RelativeFilesLeaveTheirSideSectorsBehind) {
  // A PC64 container for a relative file with 42-byte records.
  Bytes p00 = {'C', '6', '4', 'F', 'i', 'l', 'e', 0, 'R', 'E', 'C', 'S'};
  p00.resize(0x19, 0);
  p00.push_back(42);
  const Bytes records = test::PseudoRandomBytes(42 * 30, 8);
  p00.insert(p00.end(), records.begin(), records.end());
  WriteFile(area_.src() / "recs.r00", p00);
  const fs::path archive = area_.root() / "rel.lnx";
  Cbmconvert(area_.src(), {"-p", "-L", archive.string(), "recs.r00"});
  const auto result =
      hv::test::Attempt([&] { return ExtractLynx(archive.string(), area_.dest_str()); });
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"RECS.l2A"});
  EXPECT_EQ(ReadFile(area_.dest() / "RECS.l2A"), records);
  ExpectSameAsCbmconvert(archive, result);
}

}  // namespace
}  // namespace hv::lynx
