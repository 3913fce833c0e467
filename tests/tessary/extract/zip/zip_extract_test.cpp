// Archives made by Info-ZIP's zip: what real game archives look like.
#include "tessary/extract/unpack/zip/zip_extract.h"
#include "platform/binary_file.h"
#include "tessary/extract/unpack/zip/zip_directory.h"
#include "tessary/extract/unpack/zip/zip_error.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"

#include "support/tools.h"
#include "zip_fixture.h"

namespace hv::zip {
namespace {

using test::Bytes;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

class ZipExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zip_ = test::ToolPath(HV_ZIP_TOOL);
    unzip_ = test::ToolPath(HV_UNZIP_TOOL);
    if (zip_.empty()) GTEST_SKIP() << "tool not installed: zip";
    d64_ = test::PseudoRandomBytes(174848, 7);
    prg_ = test::PseudoRandomBytes(2000, 9);
    WriteFile(area_.src() / "GAME.D64", d64_);
    WriteFile(area_.src() / "intro.prg", prg_);
  }

  // Runs zip in the source folder; the archive lands in the work area's root.
  fs::path MakeZip(const std::string& name, std::vector<std::string> args) {
    const fs::path archive = area_.root() / name;
    args.insert(args.begin(), {"-q", "-X"});
    args.insert(args.begin() + 2, archive.string());
    const auto run = test::Run(zip_, args, area_.src().string());
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return archive;
  }

  hv::test::Unpacked Extract(const fs::path& archive) {
    return hv::test::Attempt([&] { return ExtractZip(archive.string(), area_.dest_str()); });
  }

  test::ZipWorkArea area_;
  std::string zip_, unzip_;
  Bytes d64_, prg_;
};

TEST_F(ZipExtractTest, FlatArchiveExtractsEveryFileDeflatedOrStored) {
  for (const char* level : {"-6", "-0"}) {
    const auto archive =
        MakeZip(std::string("flat") + level + ".zip", {level, "GAME.D64", "intro.prg"});
    const auto result = Extract(archive);
    ASSERT_TRUE(result.ok) << result.failure.description;
    EXPECT_EQ(result.written, (std::vector<std::string>{"GAME.D64", "intro.prg"}));
    EXPECT_EQ(area_.DestNames(), (std::vector<std::string>{"GAME.D64", "intro.prg"}));
    EXPECT_EQ(ReadFile(area_.dest() / "GAME.D64"), d64_);
    EXPECT_EQ(ReadFile(area_.dest() / "intro.prg"), prg_);
    fs::remove_all(area_.dest());
    fs::create_directory(area_.dest());
  }
}

TEST_F(ZipExtractTest, FoldersAreFlattenedAndNotCreated) {
  fs::create_directories(area_.src() / "disks" / "side b");
  WriteFile(area_.src() / "disks" / "side b" / "B.D64", prg_);
  const auto archive = MakeZip("tree.zip", {"-r", "GAME.D64", "disks"});
  const auto result = Extract(archive);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, (std::vector<std::string>{"GAME.D64", "B.D64"}));
  EXPECT_EQ(area_.DestNames(), (std::vector<std::string>{"B.D64", "GAME.D64"}));
  EXPECT_EQ(ReadFile(area_.dest() / "B.D64"), prg_);
  auto file = platform::BinaryFile::OpenRead(archive.string());
  const ZipDirectory dir = ReadZipDirectory(file);
  const auto stored = std::find_if(dir.entries.begin(), dir.entries.end(), [](const ZipEntry& e) {
    return e.name == "disks/side b/B.D64";
  });
  ASSERT_NE(stored, dir.entries.end());
  EXPECT_EQ(stored->uncompressed_size, prg_.size());
}

// Two folders of one archive hold a file of the same name: both arrive, the later one named
// after its folder, and a third of that name is numbered.
TEST_F(ZipExtractTest, MembersOfTheSameNameAreAllKept) {
  for (const char* disk : {"Disk 1", "Disk 2", "Disk 3"})
    fs::create_directories(area_.src() / disk);
  WriteFile(area_.src() / "Disk 1" / "NINJA.D64", d64_);
  WriteFile(area_.src() / "Disk 2" / "NINJA.D64", prg_);
  WriteFile(area_.src() / "Disk 3" / "ninja.d64", Bytes{3});
  WriteFile(area_.src() / "NINJA (Disk 2).D64", Bytes{4});
  const auto archive =
      MakeZip("ninja.zip", {"-r", "Disk 1", "Disk 2", "Disk 3", "NINJA (Disk 2).D64"});
  const auto result = Extract(archive);
  ASSERT_TRUE(result.ok) << result.failure.description;
  // Names compare without regard to case, as Windows compares them.
  EXPECT_EQ(result.written,
            (std::vector<std::string>{"NINJA.D64", "NINJA (Disk 2).D64", "ninja (Disk 3).d64",
                                      "NINJA (Disk 2) (ninja).D64"}));
  EXPECT_EQ(ReadFile(area_.dest() / "NINJA.D64"), d64_);
  EXPECT_EQ(ReadFile(area_.dest() / "NINJA (Disk 2).D64"), prg_);
  EXPECT_EQ(ReadFile(area_.dest() / "ninja (Disk 3).d64"), Bytes{3});
  EXPECT_EQ(ReadFile(area_.dest() / "NINJA (Disk 2) (ninja).D64"), Bytes{4});
}

TEST_F(ZipExtractTest, DataDescriptorsAndZip64RecordsFromStreamingAreRead) {
  // Written to a pipe, zip cannot seek back and uses data descriptors.
  const fs::path piped = area_.root() / "piped.zip";
  auto run =
      test::Run("/bin/sh", {"-c", zip_ + " -q - GAME.D64 intro.prg | cat > " + piped.string()},
                area_.src().string());
  ASSERT_EQ(run.exit_code, 0) << run.err;
  ASSERT_TRUE(ReadFile(piped)[6] & 0x08) << "expected a data descriptor";
  auto result = Extract(piped);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(ReadFile(area_.dest() / "GAME.D64"), d64_);

  // Forced zip64: end record, locator and extra fields.
  const auto z64 = MakeZip("z64.zip", {"-fz", "intro.prg"});
  result = Extract(z64);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(ReadFile(area_.dest() / "intro.prg"), prg_);
}

TEST_F(ZipExtractTest, BytesInFrontOfTheArchiveAreSkipped) {
  Bytes bytes = test::PseudoRandomBytes(3000, 1);  // e.g. a self-extractor stub
  const Bytes archive = ReadFile(MakeZip("a.zip", {"GAME.D64", "intro.prg"}));
  bytes.insert(bytes.end(), archive.begin(), archive.end());
  WriteFile(area_.root() / "prefixed.zip", bytes);
  const auto result = Extract(area_.root() / "prefixed.zip");
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(ReadFile(area_.dest() / "GAME.D64"), d64_);
  EXPECT_EQ(ReadFile(area_.dest() / "intro.prg"), prg_);
}

TEST_F(ZipExtractTest, ZipInsideZipIsExtractedOneLevelOnly) {
  const auto inner = MakeZip("inner.zip", {"GAME.D64"});
  fs::rename(inner, area_.src() / "inner.zip");
  const auto outer = MakeZip("outer.zip", {"inner.zip"});
  const auto result = Extract(outer);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(area_.DestNames(), std::vector<std::string>{"inner.zip"});
  EXPECT_EQ(ReadFile(area_.dest() / "inner.zip"), ReadFile(area_.src() / "inner.zip"));
}

// Whatever the folder holds was written earlier in the same extraction: it stays.
TEST_F(ZipExtractTest, ExistingFilesAreKeptAndTheMemberNamedApart) {
  const Bytes earlier = test::PseudoRandomBytes(9000, 3);
  WriteFile(area_.dest() / "intro.prg", earlier);
  const auto archive = MakeZip("a.zip", {"intro.prg"});
  const auto result = Extract(archive);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"intro (a).prg"});
  EXPECT_EQ(ReadFile(area_.dest() / "intro.prg"), earlier);
  EXPECT_EQ(ReadFile(area_.dest() / "intro (a).prg"), prg_);
}

TEST_F(ZipExtractTest, EncryptedArchiveFailsAndWritesNothing) {
  const auto archive = MakeZip("secret.zip", {"-e", "-P", "pw", "intro.prg"});
  const auto result = Extract(archive);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.failure.number, unpack::kInvalidFormat);
  EXPECT_NE(result.failure.description.find("encrypted"), std::string::npos);
  EXPECT_TRUE(area_.DestNames().empty());
}

// Damaged copies: the run fails, and no file is left behind truncated (nor a temporary).
class ZipExtractDamagedTest : public ZipExtractTest {
 protected:
  void ExpectCleanFailure(const Bytes& bytes, const char* what) {
    const fs::path path = area_.root() / "damaged.zip";
    WriteFile(path, bytes);
    const auto result = Extract(path);
    EXPECT_FALSE(result.ok) << what;
    EXPECT_EQ(result.failure.number, unpack::kInvalidFormat)
        << what << ": " << result.failure.description;
    for (const auto& name : area_.DestNames()) {
      EXPECT_EQ(name, "GAME.D64") << what << ": unexpected file left";
    }
    if (!unzip_.empty()) {
      EXPECT_NE(test::Run(unzip_, {"-tqq", path.string()}).exit_code, 0) << what;
    }
    fs::remove_all(area_.dest());
    fs::create_directory(area_.dest());
  }
};

TEST_F(ZipExtractDamagedTest, TruncatedFlippedAndCutArchivesFailCleanly) {
  const Bytes good = ReadFile(MakeZip("good.zip", {"-0", "GAME.D64", "intro.prg"}));
  ExpectCleanFailure(Bytes(good.begin(), good.begin() + good.size() / 2), "truncated");
  ExpectCleanFailure(Bytes(good.begin(), good.end() - 30), "end record cut");

  // A flipped byte in the second entry's data: the first entry is complete, the second
  // never appears.
  Bytes flipped = good;
  flipped[good.size() - 1000] ^= 0x40;  // inside intro.prg's stored data
  ExpectCleanFailure(flipped, "CRC mismatch");

  // The central directory cut short while the end record still points at it.
  const std::uint32_t cd_offset = good[good.size() - 6] | good[good.size() - 5] << 8 |
                                  good[good.size() - 4] << 16 |
                                  static_cast<std::uint32_t>(good[good.size() - 3]) << 24;
  Bytes cut(good.begin(), good.begin() + cd_offset + 20);
  cut.insert(cut.end(), good.end() - 22, good.end());
  ExpectCleanFailure(cut, "central directory cut");
}

TEST_F(ZipExtractDamagedTest, RandomDamageNeverCrashesOrLeavesTemporaries) {
  const Bytes good = ReadFile(MakeZip("good.zip", {"intro.prg", "GAME.D64"}));
  const fs::path path = area_.root() / "mutant.zip";
  WriteFile(path, good);
  const auto before = test::SnapshotOutside(area_.root(), "dest");
  std::uint32_t x = 2463534242u;
  for (int round = 0; round < 200; ++round) {
    Bytes bytes = good;
    for (int hits = 0; hits < 1 + round % 4; ++hits) {
      x ^= x << 13, x ^= x >> 17, x ^= x << 5;
      // Most damage aimed at the headers, where the offsets and sizes are.
      const std::size_t at = round % 2 ? x % bytes.size() : bytes.size() - 1 - x % 160;
      bytes[at] ^= static_cast<std::uint8_t>(1u << (x >> 29));
    }
    WriteFile(path, bytes);
    const auto result = Extract(path);
    // A run that returns reported all it wrote; one that failed may leave the files before
    // the failure, complete. No temporary stays behind either way.
    std::vector<std::string> written;
    for (const auto& name : result.written) written.push_back(Cp1252ToUtf8(name));
    std::sort(written.begin(), written.end());
    if (result.ok) {
      EXPECT_EQ(area_.DestNames(), written) << "round " << round;
    } else {
      for (const std::string& name : area_.DestNames()) {
        EXPECT_NE(name.rfind(".hvpart", 0), 0u) << name << " in round " << round;
      }
    }
    fs::remove_all(area_.dest());
    fs::create_directory(area_.dest());
  }
  WriteFile(path, good);
  EXPECT_EQ(test::SnapshotOutside(area_.root(), "dest"), before);
}

}  // namespace
}  // namespace hv::zip
