// Disk sets made by disk2zip from cc1541 images: the joined image must equal the image they
// came from, and what zip2disk makes of the same set.
#include "tessary/extract/unpack/zipcode/zipcode_join.h"

#include <gtest/gtest.h>

#include "../zip/zip_fixture.h"
#include "support/tools.h"
#include "tessary/extract/unpack/zipcode/zipcode_geometry.h"
#include "zipcode_builder.h"

namespace hv::zipcode {
namespace {

using test::Bytes;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

class ZipcodeJoinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cc1541_ = test::ToolPath(HV_CC1541);
    disk2zip_ = test::ToolPath(HV_DISK2ZIP_TOOL);
    zip2disk_ = test::ToolPath(HV_ZIP2DISK_TOOL);
    if (cc1541_.empty() || disk2zip_.empty() || zip2disk_.empty()) {
      GTEST_SKIP() << "cc1541, disk2zip or zip2disk missing";
    }
  }

  // An image holding stored, run-length and filled sectors: random data, text with runs,
  // and the empty rest of the disk.
  fs::path MakeImage(const std::string& name, const std::vector<std::string>& extra = {}) {
    WriteFile(area_.src() / "random.prg", test::PseudoRandomBytes(40000, 3));
    std::string text;
    for (int i = 0; i < 300; ++i) text += "LINE " + std::to_string(i) + std::string(40, ' ') + "\r";
    WriteFile(area_.src() / "text.seq", text);
    std::vector<std::string> args = {"-n", "ZIPCODE TEST", "-i", "ZT"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"-f", "RANDOM", "-w", (area_.src() / "random.prg").string(), "-T",
                             "SEQ", "-f", "TEXT", "-w", (area_.src() / "text.seq").string()});
    const fs::path image = area_.src() / name;
    args.push_back(image.string());
    const auto run = test::Run(cc1541_, args);
    EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
    return image;
  }

  void Disk2zip(const fs::path& image, const std::string& base) {
    const auto run = test::Run(disk2zip_, {image.string(), base}, area_.src().string());
    ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  }

  test::ZipWorkArea area_;
  std::string cc1541_, disk2zip_, zip2disk_;
};

TEST_F(ZipcodeJoinTest, AFourPartSetJoinsIntoTheImageItCameFrom) {
  const fs::path image = MakeImage("game.d64");
  Disk2zip(image, "game");
  const auto result = hv::test::Attempt(
      [&] { return ZipcodeJoin(area_.src().string(), "game", area_.dest_str(), "game.d64"); });
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"game.d64"});
  EXPECT_EQ(result.bytes, ImageBytes(kTracks35));
  EXPECT_EQ(area_.DestNames(), std::vector<std::string>{"game.d64"});
  const Bytes joined = ReadFile(area_.dest() / "game.d64");
  EXPECT_EQ(joined.size(), 174848u);
  EXPECT_EQ(joined, ReadFile(image));

  const auto run = test::Run(zip2disk_, {"game", "theirs.d64"}, area_.src().string());
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(joined, ReadFile(area_.src() / "theirs.d64"));
}

TEST_F(ZipcodeJoinTest, AnImageWithErrorBytesComesBackWithoutThem) {
  // Zipcode keeps sectors only: the error table of the source image is not in the set.
  const fs::path image = MakeImage("errors.d64");
  const Bytes plain = ReadFile(image);
  Bytes with_errors = plain;
  with_errors.resize(plain.size() + 683, 0x01);
  WriteFile(image, with_errors);
  Disk2zip(image, "errors");
  const auto result = hv::test::Attempt(
      [&] { return ZipcodeJoin(area_.src().string(), "errors", area_.dest_str(), "errors.d64"); });
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(ReadFile(area_.dest() / "errors.d64"), plain);
}

TEST_F(ZipcodeJoinTest, AFifthPartMakesAFortyTrackImage) {
  // disk2zip packs 35 tracks; the fifth part (tracks 36-40) is built here from the image.
  const fs::path image = MakeImage("forty.d64", {"-4"});
  Bytes bytes = ReadFile(image);
  ASSERT_EQ(bytes.size(), 196608u);
  const Bytes tail = test::PseudoRandomBytes(bytes.size() - SectorOffset(36, 0), 5);
  std::copy(tail.begin(), tail.end(), bytes.begin() + 174848);
  WriteFile(image, bytes);
  Disk2zip(image, "forty");
  WriteFile(area_.src() / "5!forty", test::EncodePart(bytes, 5));

  const auto result = hv::test::Attempt(
      [&] { return ZipcodeJoin(area_.src().string(), "forty", area_.dest_str(), "forty.d64"); });
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.bytes, ImageBytes(kTracks40));
  EXPECT_EQ(ReadFile(area_.dest() / "forty.d64"), bytes);
}

TEST_F(ZipcodeJoinTest, TwoSetsInOneFolderStaySeparate) {
  const fs::path one = MakeImage("one.d64");
  Disk2zip(one, "alpha");
  Bytes other = ReadFile(one);
  other[SectorOffset(18, 0) + 0x90] = 'B';  // another disk name
  WriteFile(area_.src() / "other.d64", other);
  Disk2zip(area_.src() / "other.d64", "beta");
  for (const char* base : {"alpha", "beta"}) {
    const auto result = hv::test::Attempt([&] {
      return ZipcodeJoin(area_.src().string(), base, area_.dest_str(), std::string(base) + ".d64");
    });
    ASSERT_TRUE(result.ok) << base << ": " << result.failure.description;
  }
  EXPECT_EQ(ReadFile(area_.dest() / "alpha.d64"), ReadFile(one));
  EXPECT_EQ(ReadFile(area_.dest() / "beta.d64"), other);
}

}  // namespace
}  // namespace hv::zipcode
