// Hand-built archives that try to escape the folder, exhaust the disk or lie about sizes.
// Every one must fail or land safely, and nothing outside the destination may change.
#include <gtest/gtest.h>

#include "tessary/extract/unpack/zip/zip_error.h"
#include "tessary/extract/unpack/zip/zip_extract.h"
#include "tessary/extract/unpack/zip/zip_limits.h"
#include "zip_builder.h"
#include "zip_fixture.h"

namespace hv::zip {
namespace {

using test::BuildZip;
using test::Bytes;
using test::SynthEntry;
namespace fs = std::filesystem;

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t GetU32(const Bytes& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

// Where the end record keeps the size and the offset of the central directory.
constexpr std::size_t kEndDirectorySize = kZipEndRecordSize - 12;
constexpr std::size_t kEndDirectoryOffset = kZipEndRecordSize - 16;

class ZipHostileTest : public ::testing::Test {
 protected:
  hv::test::Unpacked Run(const std::vector<SynthEntry>& entries,
                         const unpack::UnpackOptions& options = {}, bool zip64_end = false) {
    return RunBytes(BuildZip(entries, zip64_end), options);
  }
  hv::test::Unpacked RunBytes(const Bytes& bytes, const unpack::UnpackOptions& options = {}) {
    const fs::path archive = area_.root() / "hostile.zip";
    test::WriteFile(archive, bytes);
    const auto before = test::SnapshotOutside(area_.root(), "dest");
    auto result =
        hv::test::Attempt([&] { return ExtractZip(archive.string(), area_.dest_str(), options); });
    EXPECT_EQ(test::SnapshotOutside(area_.root(), "dest"), before) << "changed outside dest";
    if (!result.ok) {
      EXPECT_FALSE(result.failure.empty());
      EXPECT_TRUE(area_.DestNames().empty()) << "a failed run left files behind";
    }
    return result;
  }

  // The archive is refused with `why` in the reason, as the driver hands it to the caller.
  static void ExpectRefused(const hv::test::Unpacked& result, const std::string& why) {
    EXPECT_FALSE(result.ok) << why;
    EXPECT_EQ(result.failure.number, unpack::kInvalidFormat) << why;
    EXPECT_NE(result.failure.description.find(why), std::string::npos)
        << result.failure.description;
  }

  test::ZipWorkArea area_;
};

TEST_F(ZipHostileTest, TraversalNamesLandFlatInsideTheFolder) {
  // A line break cannot smuggle a folder in front of the name either.
  for (const char* name :
       {"../x", "/etc/x", "C:\\x", "..\\x", "a/../../x", "C:x", "..\\..\\C:x", "evil\n/../../x"}) {
    const auto result = Run({{.name = name, .data = Text("payload")}});
    ASSERT_TRUE(result.ok) << name << ": " << result.failure.description;
    EXPECT_EQ(result.written, std::vector<std::string>{"x"}) << name;
    EXPECT_EQ(area_.DestNames(), std::vector<std::string>{"x"}) << name;
    fs::remove(area_.dest() / "x");
  }
}

TEST_F(ZipHostileTest, NamesWithNothingLeftOrDeviceNamesAreRefused) {
  for (const char* name : {"..", "a/..", "C:", "...", ". .", "CON", "nul.prg", "dir/Com1.d64"}) {
    const auto result =
        Run({{.name = "ok.prg", .data = Text("fine")}, {.name = name, .data = Text("x")}});
    EXPECT_FALSE(result.ok) << name;
    EXPECT_EQ(result.failure.number, vberr::kBadFileName) << name;
  }
  // Folder entries are skipped, not refused.
  const auto result = Run({{.name = "dir/", .data = {}}, {.name = "dir\\sub\\", .data = {}}});
  EXPECT_TRUE(result.ok);
  EXPECT_TRUE(result.written.empty());
}

TEST_F(ZipHostileTest, ControlAndReservedCharactersAreReplaced) {
  // CR, LF, NUL and what Windows reserves become '_'; code page 437's 0xA0 is a-acute
  // (Windows-1252 0xE1).
  auto result = Run({{.name = std::string("a\r\nb\xA0\0:?.prg", 12), .data = Text("1")}});
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"a__b\xE1___.prg"});
  EXPECT_EQ(area_.DestNames(), std::vector<std::string>{"a__b\xC3\xA1___.prg"});
  fs::remove_all(area_.dest());
  fs::create_directory(area_.dest());
  // Bit 11: the name is UTF-8, here a no-break space.
  result = Run({{.name = "b\xC2\xA0\x01.prg", .data = Text("2"), .flags = 0x0800}});
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"b\xA0_.prg"});
  EXPECT_EQ(area_.DestNames(), std::vector<std::string>{"b\xC2\xA0_.prg"});
}

TEST_F(ZipHostileTest, DeflateBombsAndBudgetsAreStopped) {
  const Bytes zeros(8 * 1024 * 1024, 0);
  // Honest sizes, but 8 MiB of zeros deflate a thousandfold.
  ExpectRefused(Run({{.name = "bomb.d64", .data = zeros}}), "compression ratio too high");
  // Recorded as small, inflating to far more.
  ExpectRefused(Run({{.name = "liar.d64", .data = zeros, .usize = 1000}}),
                "larger than its recorded size");
  // Two honest entries that together pass the caller's budget: refused before writing.
  const Bytes data = test::PseudoRandomBytes(600 * 1024, 5);
  unpack::UnpackOptions small;
  small.max_total_bytes = 1024 * 1024;
  ExpectRefused(Run({{.name = "a.d64", .data = data}, {.name = "b.d64", .data = data}}, small),
                "archive exceeds its size budget");
  // Recorded sizes that fit the budget cannot let more data in than they record.
  ExpectRefused(
      Run({{.name = "a.d64", .data = data, .usize = 10}, {.name = "b.d64", .data = data}}, small),
      "larger than its recorded size");
}

TEST_F(ZipHostileTest, EntriesBeyondTheBoundsAreRefused) {
  // Larger than any one entry may be: refused at one byte past the bound, not at the bound.
  auto result = Run({{.name = "max.d64", .data = Text("x"), .usize = unpack::kMaxMemberSize}});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.failure.description.find("entry too large"), std::string::npos)
      << result.failure.description;
  ExpectRefused(Run({{.name = "huge.d64", .data = Text("x"), .usize = unpack::kMaxMemberSize + 1}}),
                "entry too large");

  // A local header far past the end of the archive.
  Bytes bytes = BuildZip({{.name = "game.prg", .data = Text("abc")}});
  PutU32(bytes, GetU32(bytes, bytes.size() - kEndDirectoryOffset) + 42, 0x7FFFFFF0);
  ExpectRefused(RunBytes(bytes), "entry outside the archive: game.prg");
}

TEST_F(ZipHostileTest, Zip64RecordsWorkAndLyingZip64SizesFail) {
  const Bytes data = test::PseudoRandomBytes(5000, 11);
  auto result = Run({{.name = "big.d64", .data = data, .zip64 = true}}, {}, true);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(test::ReadFile(area_.dest() / "big.d64"), data);
  fs::remove(area_.dest() / "big.d64");

  const std::uint64_t huge = 1ull << 40;
  for (const SynthEntry& liar :
       {SynthEntry{.name = "u.d64", .data = data, .usize = huge, .zip64 = true},
        SynthEntry{.name = "c.d64", .data = data, .csize = huge, .zip64 = true},
        SynthEntry{.name = "s.d64", .data = data, .usize = 4000, .zip64 = true}}) {
    result = Run({liar}, {}, true);
    EXPECT_FALSE(result.ok) << liar.name;
    EXPECT_EQ(result.failure.number, unpack::kInvalidFormat) << liar.name;
  }
  // A zip64 end record that points past the file.
  Bytes bytes = BuildZip({{.name = "a.prg", .data = data, .zip64 = true}}, true);
  bytes[bytes.size() - 22 - 20 + 15] = 0x7F;
  EXPECT_FALSE(RunBytes(bytes).ok);
}

TEST_F(ZipHostileTest, GarbageAndLyingDirectoriesFail) {
  EXPECT_FALSE(RunBytes({}).ok);
  EXPECT_FALSE(RunBytes(Text("PK\x05\x06 not really a zip archive at all")).ok);
  // An end record claiming 60000 entries in a tiny directory.
  Bytes bytes = BuildZip({{.name = "a.prg", .data = Text("abc")}});
  bytes[bytes.size() - 12] = 0x60, bytes[bytes.size() - 11] = 0xEA;
  bytes[bytes.size() - 14] = 0x60, bytes[bytes.size() - 13] = 0xEA;
  EXPECT_FALSE(RunBytes(bytes).ok);
  // The end record counts a directory shorter than its entries.
  const std::vector<SynthEntry> two = {{.name = "a.prg", .data = Text("first")},
                                       {.name = "b.prg", .data = Text("second")}};
  bytes = BuildZip(two);
  PutU32(bytes, bytes.size() - kEndDirectorySize,
         GetU32(bytes, bytes.size() - kEndDirectorySize) - 10);
  ExpectRefused(RunBytes(bytes), "truncated central directory");
  // Cut off in the middle of the directory: no end record left.
  bytes = BuildZip(two);
  bytes.resize(GetU32(bytes, bytes.size() - kEndDirectoryOffset) + 30);
  ExpectRefused(RunBytes(bytes), "no end-of-central-directory record");
  // Encryption flag, unknown method, wrong CRC, a descriptor that disagrees.
  EXPECT_FALSE(Run({{.name = "e.prg", .data = Text("abc"), .flags = 1}}).ok);
  EXPECT_FALSE(Run({{.name = "m.prg", .data = Text("abc"), .method = 12}}).ok);
  ExpectRefused(Run({{.name = "c.prg", .data = Text("abc"), .crc = 1234}}), "CRC error in c.prg");
  EXPECT_FALSE(Run({{.name = "s.prg", .data = Text("abc"), .method = 0, .usize = 2}}).ok);
  bytes = BuildZip({{.name = "d.prg", .data = Text("abcdef"), .flags = 8}});
  EXPECT_TRUE(RunBytes(bytes).ok);
  fs::remove(area_.dest() / "d.prg");
  const std::size_t descriptor_crc = 30 + 5 + test::RawDeflate(Text("abcdef")).size() + 4;
  bytes[descriptor_crc] ^= 1;
  EXPECT_FALSE(RunBytes(bytes).ok);
}

}  // namespace
}  // namespace hv::zip
