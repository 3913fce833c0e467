// The directory reader behind `hv list`: disks made by cc1541 in every kind it writes, and
// synthesized chains for the faults a hand-edited disk has.

#include "tessary/readers/disk_directory.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/error.h"
#include "support/temp_dir.h"
#include "support/tools.h"
#include "tessary/readers/gcr.h"
#include "tessary/readers/image_builder.h"

namespace hv::tessary {
namespace {

using test::Bytes;

std::string Name(const std::string& text) {
  std::string field = text;
  field.resize(16, '\xA0');
  return field;
}

// Throws the format error, and says what is wrong.
std::string FormatError(const Bytes& bytes, DiskFormat format) {
  try {
    ReadDiskDirectory(bytes, format);
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), vberr::kInvalidFileFormat);
    return e.Description();
  }
  return "no error";
}

TEST(DiskDirectoryTest, D64HeaderEntriesAndBlocksFree) {
  test::D64Builder image;
  image.DiskName(test::PaddedName("GAMES"))
      .DiskIdBytes(test::Raw("AB\xA0"
                             "2A"));
  image.Directory({{0x82, test::PaddedName("ONE"), 12},
                   {0x00, test::PaddedName("GONE"), 1},
                   {0xC1, test::PaddedName("TWO"), 300}},
                  {1});
  for (int track = 1; track <= 35; ++track) image.bytes()[test::D64Builder::kBam + 4 * track] = 2;
  const DiskDirectory dir = ReadDiskDirectory(image.bytes(), DiskFormat::kD64);
  EXPECT_EQ(dir.name, Name("GAMES"));
  EXPECT_EQ(dir.id,
            "AB\xA0"
            "2A");
  ASSERT_EQ(dir.entries.size(), 2u);  // the free slot (type 0) is no entry
  EXPECT_EQ(dir.entries[1].name, Name("TWO"));
  EXPECT_EQ(dir.entries[1].type, 0xC1);
  EXPECT_EQ(dir.entries[1].blocks, 300);
  EXPECT_EQ(dir.blocks_free, 68u);  // 34 tracks: the directory track does not count
  EXPECT_EQ(dir.chain_problem, "");
}

// A loop or a link off the disk ends the listing after every sector was read once.
TEST(DiskDirectoryTest, BrokenChainsAreFollowedOnce) {
  std::vector<test::DirEntry> entries;
  for (int i = 0; i < 12; ++i)
    entries.push_back({0x82, test::PaddedName("F" + std::to_string(i)), 1});
  test::D64Builder image;
  image.Directory(entries, {1, 4});
  const std::size_t second = test::D64Builder::Offset(18, 4);
  image.bytes()[second] = 18;
  image.bytes()[second + 1] = 1;
  DiskDirectory dir = ReadDiskDirectory(image.bytes(), DiskFormat::kD64);
  EXPECT_EQ(dir.entries.size(), 12u);
  EXPECT_EQ(dir.chain_problem, "the directory chain comes back to track 18 sector 1");

  image.bytes()[second] = 36;  // beyond a 35-track disk
  dir = ReadDiskDirectory(image.bytes(), DiskFormat::kD64);
  EXPECT_EQ(dir.entries.size(), 12u);
  EXPECT_EQ(dir.chain_problem,
            "the directory chain leads to track 36 sector 1, which is not on the disk");
  image.bytes()[second] = 18;
  image.bytes()[second + 1] = 19;  // track 18 has sectors 0 to 18
  EXPECT_NE(ReadDiskDirectory(image.bytes(), DiskFormat::kD64).chain_problem, "");
  // A 40-track image holds track 36.
  test::D64Builder forty(196608);
  forty.Directory(entries, {1, 4});
  forty.bytes()[second] = 36;
  forty.bytes()[second + 1] = 0;
  EXPECT_EQ(ReadDiskDirectory(forty.bytes(), DiskFormat::kD64).chain_problem, "");
}

TEST(DiskDirectoryTest, SizesAndSignaturesOfOtherFilesAreRefused) {
  EXPECT_EQ(FormatError(Bytes{}, DiskFormat::kD64),
            "it holds 0 bytes; a D64 holds 174848 (35 tracks) or 196608 (40 tracks), or those "
            "with error bytes");
  EXPECT_NE(FormatError(Bytes(174847), DiskFormat::kD64).find("174847 bytes"), std::string::npos);
  EXPECT_NO_THROW(ReadDiskDirectory(Bytes(174848 + 683), DiskFormat::kD64));  // error bytes
  EXPECT_NE(FormatError(Bytes(174848), DiskFormat::kD71).find("a D71 holds 349696"),
            std::string::npos);
  EXPECT_NE(FormatError(Bytes(174848), DiskFormat::kD81).find("a D81 holds 819200"),
            std::string::npos);
  EXPECT_EQ(FormatError(Bytes(174848), DiskFormat::kG64), "no GCR-1541 signature at its start");
  Bytes g64 = test::Raw("GCR-1541");
  g64.resize(12 + 4 * 10, 0);
  g64[9] = 84;  // a track table longer than the file
  EXPECT_EQ(FormatError(g64, DiskFormat::kG64), "its track table runs past its end");
}

class Cc1541DiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cc1541_ = test::ToolPath(HV_CC1541);
    if (cc1541_.empty()) GTEST_SKIP() << "tool not installed: cc1541";
    Bytes big(3000, 0x55);
    big[0] = 0x01;
    big[1] = 0x08;
    test::WriteFile(dir_ / "big.prg", big);
    test::WriteFile(dir_ / "a.prg", Bytes{0x01, 0x08, 0x60});
  }
  std::string Make(const std::string& name, std::vector<std::string> args) {
    const auto image = (dir_ / name).string();
    args.push_back(image);
    EXPECT_EQ(test::Run(cc1541_, args, dir_.path().string()).exit_code, 0);
    return image;
  }
  std::string cc1541_;
  test::TempDir dir_;
};

// cc1541 leaves the free counts of a 1571's second side at 0 and keeps its bitmap on track
// 53 alone; it counts that bitmap, track 53 included, and so does the reader.
TEST_F(Cc1541DiskTest, D71AndD81) {
  auto d71 = ReadDiskDirectoryFile(
      Make("x.d71", {"-q", "-n", "side two", "-i", "s2 2a", "-f", "first", "-w", "a.prg", "-f",
                     "big", "-w", "big.prg", "-f", "seqq", "-T", "SEQ", "-w", "a.prg"}),
      DiskFormat::kD71);
  EXPECT_EQ(d71.name, Name("SIDE TWO"));
  EXPECT_EQ(d71.id, "S2 2A");
  ASSERT_EQ(d71.entries.size(), 3u);
  EXPECT_EQ(d71.entries[1].blocks, 12);
  EXPECT_EQ(d71.entries[2].type, 0x81);
  EXPECT_EQ(d71.blocks_free, 1332u);

  auto d81 = ReadDiskDirectoryFile(
      Make("x.d81", {"-q", "-n", "d81 test", "-i", "81", "-f", "one", "-w", "big.prg", "-f", "two",
                     "-T", "USR", "-P", "-w", "a.prg"}),
      DiskFormat::kD81);
  EXPECT_EQ(d81.name, Name("D81 TEST"));
  ASSERT_EQ(d81.entries.size(), 2u);
  EXPECT_EQ(d81.entries[1].type, 0xC3);
  EXPECT_EQ(d81.blocks_free, 3147u);
}

// The G64 cc1541 writes beside a D64 reads as that D64, decoded from its GCR tracks.
TEST_F(Cc1541DiskTest, G64ReadsAsItsD64) {
  std::vector<std::string> args = {"-q", "-n", "gee", "-g", (dir_ / "x.g64").string()};
  for (int i = 0; i < 20; ++i) {  // three directory sectors
    args.insert(args.end(), {"-f", "file" + std::to_string(i), "-w", "a.prg"});
  }
  const auto d64 = ReadDiskDirectoryFile(Make("x.d64", args), DiskFormat::kD64);
  const auto g64 = ReadDiskDirectoryFile((dir_ / "x.g64").string(), DiskFormat::kG64);
  EXPECT_EQ(g64.name, d64.name);
  EXPECT_EQ(g64.id, d64.id);
  EXPECT_EQ(g64.blocks_free, d64.blocks_free);
  ASSERT_EQ(g64.entries.size(), 20u);
  for (std::size_t i = 0; i < 20; ++i) EXPECT_EQ(g64.entries[i].name, d64.entries[i].name);
  EXPECT_EQ(g64.chain_problem, "");
}

// Sync marks need not fall on byte bounds, and a block may run over the end of the track:
// the track of cc1541's G64 turned by a few bits decodes to the same sectors.
TEST_F(Cc1541DiskTest, GcrTracksDecodeAtAnyBitAndRoundTheCircle) {
  Make("y.d64", {"-q", "-g", (dir_ / "y.g64").string(), "-f", "x", "-w", "a.prg"});
  const Bytes g64 = test::ReadFile(dir_ / "y.g64");
  const std::size_t entry = 12 + 4 * 34;  // half track 35: track 18
  const std::size_t offset = g64[entry] | g64[entry + 1] << 8 | g64[entry + 2] << 16;
  const std::size_t length = g64[offset] | g64[offset + 1] << 8;
  const Bytes track(g64.begin() + static_cast<long>(offset) + 2,
                    g64.begin() + static_cast<long>(offset + 2 + length));
  const auto straight = DecodeGcrTrack(track, 18, 19);
  ASSERT_EQ(std::count_if(straight.begin(), straight.end(), [](auto& s) { return s.has_value(); }),
            19);
  for (const std::size_t shift : {3u, 1000u * 8 + 5}) {
    // Turn the bit circle: bit i of the new track is bit i + shift of the old one.
    Bytes turned(track.size(), 0);
    const std::size_t bits = track.size() * 8;
    for (std::size_t i = 0; i < bits; ++i) {
      const std::size_t from = (i + shift) % bits;
      if ((track[from / 8] >> (7 - from % 8)) & 1)
        turned[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
    }
    const auto decoded = DecodeGcrTrack(turned, 18, 19);
    for (std::size_t s = 0; s < 19; ++s) EXPECT_EQ(decoded[s], straight[s]) << shift << " " << s;
  }
  const auto elsewhere = DecodeGcrTrack(track, 17, 21);  // its headers name track 18
  EXPECT_TRUE(
      std::none_of(elsewhere.begin(), elsewhere.end(), [](auto& s) { return s.has_value(); }));
  // A damaged data block loses its sector, and only that one.
  Bytes damaged = track;
  damaged[track.size() / 2] ^= 0x10;
  const auto rest = DecodeGcrTrack(damaged, 18, 19);
  EXPECT_GE(std::count_if(rest.begin(), rest.end(), [](auto& s) { return s.has_value(); }), 18);
}

}  // namespace
}  // namespace hv::tessary
