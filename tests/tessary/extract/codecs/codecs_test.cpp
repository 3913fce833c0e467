// Every compression method through the zip reader: real archives written by other programs
// (the reader checks each entry's CRC-32; Debian's unzip is a second oracle where it reads the
// method), 7-Zip zips of a cc1541 disk image in each method it writes, damaged data, and the
// failures a user must be able to tell apart.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/tools.h"
#include "tessary/extract/codecs/codec.h"
#include "tessary/extract/unpack/zip/zip_error.h"
#include "tessary/extract/unpack/zip/zip_extract.h"
#include "tessary/extract/zip/zip_fixture.h"

namespace hv::test {
namespace {

namespace fs = std::filesystem;

struct RealArchive {
  const char* file;
  const char* member;
  bool unzip_reads;  // Debian's unzip 6.0 unpacks this method too
};

const RealArchive kRealArchives[] = {
    {"shrink.zip", "FIRST.TXT", true},
    {"SHRUNK.ZIP", "TEST1.XML", true},
    {"reduce.zip", "first.txt", false},
    {"implode.zip", "first.txt", true},
    {"imploding-4Kdict-2trees.zip", "HEADER.TXT", true},
    {"imploding-8Kdict-3trees.zip", "LICENSE.TXT", true},
    {"lorem-ipsum-implode.zip", "LOREM.TXT", true},
    {"lorem-ipsum-deflate64.zip", "lorem-ipsum.txt", true},
    {"bzip2-zip.zip", "lots-of-as", true},
    {"lzma.zip", "binary.wmv", false},
    {"xz.zip", "hello.txt", false},
    {"test-method-xz.zip", "LICENSE.txt", false},
    {"ppmd.zip", "ipsum.txt", false},
};

fs::path RealArchivePath(const std::string& file) {
  const fs::path here = fs::path(HV_CODEC_ARCHIVES) / file;
  if (fs::exists(here)) return here;
  return fs::path(HV_SHARED_ZIP_METHODS) / file;  // the large one lives beside the clone
}

class RealArchiveTest : public ::testing::TestWithParam<RealArchive> {};

TEST_P(RealArchiveTest, UnpacksExactly) {
  const RealArchive& a = GetParam();
  const fs::path archive = RealArchivePath(a.file);
  if (!fs::exists(archive)) GTEST_SKIP() << "not beside the clone: " << archive;
  ZipWorkArea area;
  const auto result =
      hv::test::Attempt([&] { return zip::ExtractZip(archive.string(), area.dest_str()); });
  ASSERT_TRUE(result.ok) << result.failure.description;
  ASSERT_FALSE(result.written.empty());
  EXPECT_EQ(result.written.front(), a.member);
  const std::string unzip = ToolPath(HV_UNZIP_TOOL);
  if (!a.unzip_reads || unzip.empty()) return;
  for (const std::string& name : result.written) {
    const RunResult r = hv::test::Run(unzip, {"-p", archive.string(), name});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const Bytes ours = ReadFile(area.dest() / name);
    EXPECT_EQ(std::string(ours.begin(), ours.end()), r.out) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, RealArchiveTest, ::testing::ValuesIn(kRealArchives),
                         [](const auto& param_info) {
                           std::string name = param_info.param.file;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// A disk image with a packed-looking file, a text-like one and empty blocks: what a game zip
// holds, made by cc1541 and zipped by 7-Zip.
class SevenZipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cc1541_ = ToolPath(HV_CC1541);
    seven_zip_ = ToolPath(HV_7Z_TOOL);
    HV_REQUIRE_TOOL(cc1541_);
    HV_REQUIRE_TOOL(seven_zip_);
    WriteFile(area_.root() / "packed.prg", PseudoRandomBytes(40000, 7));
    std::string text;
    for (int i = 0; text.size() < 30000; ++i) text += "LINE " + std::to_string(i % 97) + " GAME\r";
    WriteFile(area_.root() / "text.prg", text);
    image_ = area_.root() / "game.d64";
    const RunResult r =
        hv::test::Run(cc1541_, {"-q", "-n", "game", "-i", "g1", "-f", "packed", "-w",
                                (area_.root() / "packed.prg").string(), "-f", "text", "-w",
                                (area_.root() / "text.prg").string(), image_.string()});
    ASSERT_EQ(r.exit_code, 0) << r.err;
  }

  fs::path ZipIn(const std::string& method) {
    const fs::path out = area_.root() / (method + ".zip");
    const RunResult r =
        hv::test::Run(seven_zip_, {"a", "-tzip", "-mm=" + method, out.string(), image_.string()});
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    return out;
  }

  ZipWorkArea area_;
  std::string cc1541_;
  std::string seven_zip_;
  fs::path image_;
};

const char* const kSevenZipMethods[] = {"Deflate", "Deflate64", "BZip2", "LZMA", "PPMd", "XZ"};

TEST_F(SevenZipTest, EveryMethodUnpacksTheImageExactly) {
  for (const char* method : kSevenZipMethods) {
    SCOPED_TRACE(method);
    const fs::path archive = ZipIn(method);
    fs::remove_all(area_.dest());
    fs::create_directories(area_.dest());
    const auto result =
        hv::test::Attempt([&] { return zip::ExtractZip(archive.string(), area_.dest_str()); });
    ASSERT_TRUE(result.ok) << result.failure.description;
    ASSERT_EQ(result.written, std::vector<std::string>{"game.d64"});
    EXPECT_TRUE(ReadFile(area_.dest() / "game.d64") == ReadFile(image_));
  }
}

// A flipped byte in the middle of the data either breaks the decoder or the CRC: the run
// fails as a damaged archive and leaves nothing behind.
TEST_F(SevenZipTest, DamagedDataFailsAsCorrupt) {
  for (const char* method : kSevenZipMethods) {
    SCOPED_TRACE(method);
    const fs::path archive = ZipIn(method);
    Bytes bytes = ReadFile(archive);
    for (std::size_t at : {std::size_t{100}, bytes.size() / 3, bytes.size() / 2}) {
      Bytes damaged = bytes;
      damaged[at] ^= 0x55;
      WriteFile(archive, damaged);
      fs::remove_all(area_.dest());
      fs::create_directories(area_.dest());
      const auto result =
          hv::test::Attempt([&] { return zip::ExtractZip(archive.string(), area_.dest_str()); });
      EXPECT_FALSE(result.ok) << "byte " << at;
      EXPECT_EQ(zip::ProblemOf(result.error), zip::ZipProblem::kDamaged)
          << result.failure.description;
      EXPECT_TRUE(area_.DestNames().empty());
    }
  }
}

// Each decoder on bytes no encoder wrote: it fails with DamagedData or stops at the size, and
// never reads or writes out of bounds (the sanitizers watch).
TEST(CodecTest, GarbageNeverCrashesADecoder) {
  const std::uint16_t methods[] = {1, 2, 3, 4, 5, 6, 8, 9, 12, 14, 95, 98};
  const std::uint16_t all_flags[] = {0, 2, 4, 6};
  for (const std::uint16_t method : methods) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
      const Bytes data = PseudoRandomBytes(300 + seed * 37, seed);
      for (const std::uint16_t flags : all_flags) {
        std::size_t at = 0;
        const codecs::ByteSource source = [&](std::span<std::uint8_t> buffer) {
          const std::size_t n = std::min(buffer.size(), data.size() - at);
          std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), n, buffer.begin());
          at += n;
          return n;
        };
        std::uint64_t produced = 0;
        const codecs::ByteSink sink = [&](std::span<const std::uint8_t> bytes) {
          produced += bytes.size();
        };
        const codecs::CodecInput input{method, flags, data.size(), 5000};
        try {
          codecs::Decode(input, source, sink);
        } catch (const codecs::DamagedData&) {
        }
        EXPECT_LE(produced, method == 8 || method == 12 || method == 95 ? 1u << 20 : 5000u)
            << "method " << method;
      }
    }
  }
}

TEST(CodecTest, CanDecodeNamesTheMethodsTheReaderTakes) {
  for (const int method : {0, 1, 2, 3, 4, 5, 6, 8, 9, 12, 14, 95, 98}) {
    EXPECT_TRUE(codecs::CanDecode(static_cast<std::uint16_t>(method))) << method;
  }
  for (const int method : {7, 10, 18, 19, 93, 96, 97, 99}) {
    EXPECT_FALSE(codecs::CanDecode(static_cast<std::uint16_t>(method))) << method;
  }
}

// The failures a user must tell apart come out as their own kind.
TEST(ZipProblemTest, EncryptedTooLargeAndUnsafeAreNamed) {
  const std::string zip_tool = ToolPath(HV_ZIP_TOOL);
  HV_REQUIRE_TOOL(zip_tool);
  ZipWorkArea area;
  const fs::path file = area.src() / "game.prg";
  fs::create_directories(area.src());
  WriteFile(file, PseudoRandomBytes(5000, 3));

  const fs::path locked = area.root() / "locked.zip";
  ASSERT_EQ(hv::test::Run(zip_tool, {"-q", "-j", "-P", "secret", locked.string(), file.string()})
                .exit_code,
            0);
  auto result =
      hv::test::Attempt([&] { return zip::ExtractZip(locked.string(), area.dest_str()); });
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(zip::ProblemOf(result.error), zip::ZipProblem::kEncrypted);

  const fs::path plain = area.root() / "plain.zip";
  ASSERT_EQ(hv::test::Run(zip_tool, {"-q", "-j", plain.string(), file.string()}).exit_code, 0);
  unpack::UnpackOptions small;
  small.max_total_bytes = 4000;
  result =
      hv::test::Attempt([&] { return zip::ExtractZip(plain.string(), area.dest_str(), small); });
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(zip::ProblemOf(result.error), zip::ZipProblem::kTooLarge);

  // zip stores "CON" as given; the path check refuses the device name.
  const fs::path device = area.src() / "CON";
  WriteFile(device, std::string("x"));
  const fs::path unsafe = area.root() / "unsafe.zip";
  ASSERT_EQ(hv::test::Run(zip_tool, {"-q", "-j", unsafe.string(), device.string()}).exit_code, 0);
  result = hv::test::Attempt([&] { return zip::ExtractZip(unsafe.string(), area.dest_str()); });
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(zip::ProblemOf(result.error), zip::ZipProblem::kUnsafeName);

  Bytes broken = ReadFile(plain);
  broken[broken.size() / 2] ^= 0xFF;
  WriteFile(plain, broken);
  result = hv::test::Attempt([&] { return zip::ExtractZip(plain.string(), area.dest_str()); });
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(zip::ProblemOf(result.error), zip::ZipProblem::kDamaged);
}

}  // namespace
}  // namespace hv::test
