// Disk sets with a part missing, cut short or damaged sector by sector. Each must fail with a
// reason that names the part, and leave neither an image nor a temporary file behind.
#include <gtest/gtest.h>

#include "../zip/zip_fixture.h"
#include "tessary/extract/unpack/zipcode/zipcode_geometry.h"
#include "tessary/extract/unpack/zipcode/zipcode_join.h"
#include "zipcode_builder.h"

namespace hv::zipcode {
namespace {

using test::Bytes;
namespace fs = std::filesystem;

class ZipcodeHostileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    image_ = test::PseudoRandomBytes(ImageBytes(kTracks35), 11);
    for (int part = 1; part <= 4; ++part) Write(part, test::EncodePart(image_, part));
  }
  void Write(int part, const Bytes& bytes) {
    test::WriteFile(area_.src() / (std::to_string(part) + "!game"), bytes);
  }
  hv::test::Unpacked Join(const unpack::UnpackOptions& options = {},
                          const std::string& base = "game",
                          const std::string& target = "game.d64") {
    const auto before = test::SnapshotOutside(area_.root(), "dest");
    auto result = hv::test::Attempt(
        [&] { return ZipcodeJoin(area_.src().string(), base, area_.dest_str(), target, options); });
    EXPECT_EQ(test::SnapshotOutside(area_.root(), "dest"), before) << "changed outside dest";
    if (!result.ok) {
      EXPECT_FALSE(result.failure.empty());
      EXPECT_TRUE(area_.DestNames().empty()) << "a failed join left files behind";
    }
    return result;
  }
  void ExpectFailure(const hv::test::Unpacked& result, int number, const std::string& what) {
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.number, number) << result.failure.description;
    EXPECT_NE(result.failure.description.find(what), std::string::npos)
        << result.failure.description;
  }
  // 2!game with its first sector (track 9, sector 0) replaced.
  void ReplaceFirstSectorOfPart2(const Bytes& block) {
    auto sectors = test::EncodeSectors(image_, 2);
    sectors[0] = block;
    Write(2, test::JoinPart(2, sectors));
  }

  test::ZipWorkArea area_;
  Bytes image_;
};

TEST_F(ZipcodeHostileTest, TheBuiltSetItselfJoins) {
  const auto result = Join();
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(test::ReadFile(area_.dest() / "game.d64"), image_);
}

TEST_F(ZipcodeHostileTest, AMissingPartFailsAndNamesThePart) {
  for (int part = 1; part <= 4; ++part) {
    const fs::path path = area_.src() / (std::to_string(part) + "!game");
    const Bytes kept = test::ReadFile(path);
    fs::remove(path);
    ExpectFailure(Join(), 53, "incomplete: " + std::to_string(part) + "!game is missing");
    test::WriteFile(path, kept);
  }
}

TEST_F(ZipcodeHostileTest, EveryPrefixOfAPartFailsCleanly) {
  const Bytes full = test::EncodePart(image_, 3);
  for (std::size_t size = 0; size < full.size(); size += 1999) {
    Write(3, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size)));
    ExpectFailure(Join(), 321, "3!game is truncated");
  }
  Write(3, Bytes(full.begin(), full.end() - 1));
  ExpectFailure(Join(), 321, "3!game is truncated");
}

TEST_F(ZipcodeHostileTest, PaddingAfterTheLastSectorIsIgnored) {
  Bytes padded = test::EncodePart(image_, 4);
  padded.resize(padded.size() + 300, 0x1A);
  Write(4, padded);
  const auto result = Join();
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(test::ReadFile(area_.dest() / "game.d64"), image_);
}

TEST_F(ZipcodeHostileTest, SectorsOutsideThePartOrTwiceAreRefused) {
  ReplaceFirstSectorOfPart2({0x41, 0x00, 0xAA});  // track 1 belongs to part 1
  ExpectFailure(Join(), 321, "2!game track 1 sector 0 lies outside the part");
  ReplaceFirstSectorOfPart2({0x49, 21, 0xAA});  // track 9 has sectors 0-20
  ExpectFailure(Join(), 321, "outside the part");
  ReplaceFirstSectorOfPart2({0x49, 0x01, 0xAA});  // sector 1 comes again later
  ExpectFailure(Join(), 321, "appears twice");
  ReplaceFirstSectorOfPart2({0xC9, 0x00, 0xAA});
  ExpectFailure(Join(), 321, "unknown method");
}

TEST_F(ZipcodeHostileTest, RunLengthDataMustMakeExactlyOneSector) {
  // Length, escape code, then the coded bytes.
  ReplaceFirstSectorOfPart2({0x89, 0x00, 5, 0xFF, 1, 2, 0xFF, 254, 7});
  ASSERT_TRUE(Join().ok);
  Bytes expected(256, 7);
  expected[0] = 1, expected[1] = 2;
  EXPECT_EQ(test::ReadFile(area_.dest() / "game.d64"), [&] {
    Bytes image = image_;
    std::copy(expected.begin(), expected.end(), image.begin() + SectorOffset(9, 0));
    return image;
  }());
  fs::remove(area_.dest() / "game.d64");

  ReplaceFirstSectorOfPart2({0x89, 0x00, 5, 0xFF, 1, 2, 0xFF, 255, 7});
  ExpectFailure(Join(), 321, "overflow");
  ReplaceFirstSectorOfPart2({0x89, 0x00, 3, 0xFF, 0xFF, 200, 7});
  ExpectFailure(Join(), 321, "only part");
  ReplaceFirstSectorOfPart2({0x89, 0x00, 2, 0xFF, 1, 0xFF});
  ExpectFailure(Join(), 321, "cut short");
}

TEST_F(ZipcodeHostileTest, ADamagedFifthPartIsNoThirtyFiveTrackSet) {
  Write(5, {0x00, 0x04, 0x64, 0x00});
  ExpectFailure(Join(), 321, "5!game");
}

TEST_F(ZipcodeHostileTest, NamesThatAreNoPlainFileNamesAreRefused) {
  for (const char* base : {"../game", "a/game", "game."}) {
    ExpectFailure(Join({}, base), 52, "unsafe file name");
  }
  for (const char* target : {"../game.d64", "CON.d64", "", "x/y.d64", "game.d64 "}) {
    ExpectFailure(Join({}, "game", target), 52, "unsafe file name");
  }
}

// An image of that name was written earlier in the same extraction: it stays, and the joined
// one is named after the set it came from.
TEST_F(ZipcodeHostileTest, AnExistingImageIsKeptAndTheNewOneNamedApart) {
  test::WriteFile(area_.dest() / "GAME.d64", std::string("older"));
  auto result = hv::test::Attempt(
      [&] { return ZipcodeJoin(area_.src().string(), "game", area_.dest_str(), "game.d64"); });
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"game (1!game).d64"});
  EXPECT_EQ(test::ReadFile(area_.dest() / "GAME.d64"), (Bytes{'o', 'l', 'd', 'e', 'r'}));
  EXPECT_EQ(test::ReadFile(area_.dest() / "game (1!game).d64"), image_);
}

TEST_F(ZipcodeHostileTest, TheImageMustFitTheBudget) {
  unpack::UnpackOptions options;
  options.max_total_bytes = ImageBytes(kTracks35) - 1;
  ExpectFailure(Join(options), 321, "budget");
  options.max_total_bytes = ImageBytes(kTracks35);
  EXPECT_TRUE(Join(options).ok);
}

}  // namespace
}  // namespace hv::zipcode
