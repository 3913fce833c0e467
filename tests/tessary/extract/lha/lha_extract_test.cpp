// Archives made by about twenty real LHA programs (lhasa's own test archives, from MS-DOS,
// Amiga, Atari, OS/2, OS-9, X68000, Mac, Unix and Windows archivers): each file must come out
// with the CRC-32 and length lhasa's test suite records for it, and as Debian's lha extracts
// it; folders are dropped, links skipped, and nothing lands outside the folder.
#include "tessary/extract/unpack/lha/lha_extract.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cctype>
#include <map>

#include "../zip/zip_fixture.h"
#include "support/tools.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::lha {
namespace {

using test::Bytes;
using test::ReadFile;
namespace fs = std::filesystem;

const fs::path kArchives = HV_LHA_ARCHIVES;

struct Expected {
  const char* archive;
  std::uint32_t crc32;  // of the first file entry's data
  std::size_t length;
};

// lhasa's test/test-decompress, for the archives kept here (the shared contents first).
constexpr std::uint32_t kGpl2GzCrc = 0xe4690583, kGpl2Crc = 0x4e46f4a1, kHello1Crc = 0xaf083b2d,
                        kHello2Crc = 0xb19b306e, kHello3Crc = 0x0d4a1185;
constexpr std::size_t kGpl2Gz = 6829, kGpl2 = 18092, kHello1 = 12, kHello2 = 14, kHello3 = 11;

#define GPL2_GZ kGpl2GzCrc, kGpl2Gz
#define GPL2 kGpl2Crc, kGpl2
#define HELLO1 kHello1Crc, kHello1
#define HELLO2 kHello2Crc, kHello2
#define HELLO3 kHello3Crc, kHello3

constexpr Expected kCorpus[] = {
    {"larc333/lz4.lzs", GPL2_GZ},
    {"larc333/lz5.lzs", GPL2},
    {"larc333/sfx.com", GPL2_GZ},
    {"larc333/subdir.lzs", HELLO1},
    {"lharc113/lh0.lzh", GPL2_GZ},
    {"lharc113/lh1.lzh", GPL2},
    {"lharc113/sfx.com", GPL2},
    {"lharc113/subdir.lzh", HELLO1},
    {"lha213/lh0.lzh", GPL2_GZ},
    {"lha213/lh5.lzh", GPL2},
    {"lha213/sfx.exe", GPL2},
    {"lha213/subdir.lzh", HELLO1},
    {"lha255e/lh0.lzh", GPL2_GZ},
    {"lha255e/lh5.lzh", GPL2},
    {"lha255e/sfx.exe", GPL2},
    {"lha255e/subdir.lzh", HELLO1},
    {"lha_unix114i/h0_lh0.lzh", GPL2_GZ},
    {"lha_unix114i/h0_lh5.lzh", GPL2},
    {"lha_unix114i/h0_lh6.lzh", GPL2},
    {"lha_unix114i/h0_lh7.lzh", GPL2},
    {"lha_unix114i/h1_lh0.lzh", GPL2_GZ},
    {"lha_unix114i/h1_lh5.lzh", GPL2},
    {"lha_unix114i/h1_lh6.lzh", GPL2},
    {"lha_unix114i/h1_lh7.lzh", GPL2},
    {"lha_unix114i/h1_subdir.lzh", HELLO1},
    {"lha_unix114i/h2_lh0.lzh", GPL2_GZ},
    {"lha_unix114i/h2_lh5.lzh", GPL2},
    {"lha_unix114i/h2_lh6.lzh", GPL2},
    {"lha_unix114i/h2_lh7.lzh", GPL2},
    {"lha_unix114i/h2_subdir.lzh", HELLO1},
    {"lha_os2_208/lh0.lzh", GPL2_GZ},
    {"lha_os2_208/lh5.lzh", GPL2},
    {"lha_os2_208/lfn.lzh", HELLO2},
    {"lha_os2_208/subdir.lzh", HELLO2},
    {"lha_os2_208/lh1.lzh", GPL2},
    {"lha_os2_208/h3_lfn.lzh", HELLO2},
    {"lha_os2_208/h3_lh0.lzh", GPL2_GZ},
    {"lha_os2_208/h3_lh5.lzh", GPL2},
    {"lha_os2_208/h3_subdir.lzh", HELLO2},
    // PMarc pads its archives; lhasa's figures include what that does to the data.
    {"pmarc124/pm0.pma", 0xe3cf61d2, 6912},
    {"pmarc124/pm1.pma", 0xb7d0e42c, 25284},
    {"pmarc124/mtcd.pma", 0xceec9f76, 1403},
    {"pmarc2/pm0.pma", 0x549d935a, 6912},
    {"pmarc2/pm2.pma", 0x8e2093a7, 18176},
    {"pmarc2/comment.pma", 0x906330c5, 128},
    {"pmarc2/sfx.com", 0x8e2093a7, 18176},
    {"lha_amiga_122/level0.lzh", HELLO1},
    {"lha_amiga_122/level1.lzh", HELLO1},
    {"lha_amiga_122/level2.lzh", HELLO1},
    {"lha_amiga_122/lh0.lzh", GPL2_GZ},
    {"lha_amiga_122/lh1.lzh", GPL2},
    {"lha_amiga_122/lh4.lzh", GPL2},
    {"lha_amiga_122/lh5.lzh", GPL2},
    {"lha_amiga_122/subdir.lzh", HELLO1},
    {"lha_amiga_122/sfx.run", GPL2},
    {"lha_amiga_212/level0.lzh", HELLO1},
    {"lha_amiga_212/level1.lzh", HELLO1},
    {"lha_amiga_212/level2.lzh", HELLO1},
    {"lha_amiga_212/lh1.lzh", GPL2},
    {"lha_amiga_212/lh6.lzh", GPL2},
    {"lharc_atari_313a/lh0.lzh", GPL2_GZ},
    {"lharc_atari_313a/lh5.lzh", GPL2},
    {"lharc_atari_313a/lz5.lzh", GPL2},
    {"lharc_atari_313a/subdir.lzh", HELLO1},
    {"lharc_atari_313a/sfx.tos", GPL2},
    {"lharc_atari_313a/shorter.lzh", 0x3fdcda96, 286015},
    {"lharc_atari_313a/h1_lh5.lzh", GPL2},
    {"lharc_atari_313a/h1_lz5.lzh", GPL2},
    {"lharc_atari_313a/h1_subdir.lzh", HELLO1},
    {"lharc_atari_313a/h2_lh5.lzh", GPL2},
    {"lharc_atari_313a/h2_lz5.lzh", GPL2},
    {"lharc_atari_313a/h2_subdir.lzh", HELLO1},
    {"lha_x68k_213/h0_lh0.lzh", GPL2_GZ},
    {"lha_x68k_213/h0_lh5.lzh", GPL2},
    {"lha_x68k_213/h0_subdir.lzh", HELLO1},
    {"lha_x68k_213/h1_lh0.lzh", GPL2_GZ},
    {"lha_x68k_213/h1_lh5.lzh", GPL2},
    {"lha_x68k_213/h1_subdir.lzh", HELLO1},
    {"lha_x68k_213/h2_lh0.lzh", GPL2_GZ},
    {"lha_x68k_213/h2_lh5.lzh", GPL2},
    {"lha_x68k_213/h2_subdir.lzh", HELLO1},
    {"lha_x68k_213/sfx.x", GPL2},
    // Level 0 leaves no sign of MacLHA, so the MacBinary header stays in these three.
    {"maclha_224/l0_lh0.lzh", 0x12789183, 7040},
    {"maclha_224/l0_lh1.lzh", 0xf96b05fd, 18304},
    {"maclha_224/l0_lh5.lzh", 0xf96b05fd, 18304},
    {"maclha_224/l0_nm_lh5.lzh", GPL2},
    {"maclha_224/l1_full_subdir.lzh", HELLO3},
    {"maclha_224/l1_lh0.lzh", GPL2_GZ},
    {"maclha_224/l1_lh1.lzh", GPL2},
    {"maclha_224/l1_lh5.lzh", GPL2},
    {"maclha_224/l1_nm_lh5.lzh", GPL2},
    {"maclha_224/l1_subdir.lzh", HELLO3},
    {"maclha_224/l2_full_subdir.lzh", HELLO3},
    {"maclha_224/l2_lh0.lzh", GPL2_GZ},
    {"maclha_224/l2_lh1.lzh", GPL2},
    {"maclha_224/l2_lh5.lzh", GPL2},
    {"maclha_224/l2_nm_lh5.lzh", GPL2},
    {"maclha_224/l2_subdir.lzh", HELLO3},
    {"lhmelt_16536/h0_lh0.lzh", GPL2_GZ},
    {"lhmelt_16536/h0_lh1.lzh", GPL2},
    {"lhmelt_16536/h0_lh5.lzh", GPL2},
    {"lhmelt_16536/h0_lh6.lzh", GPL2},
    {"lhmelt_16536/h0_lh7.lzh", GPL2},
    {"lhmelt_16536/h0_subdir.lzh", HELLO1},
    {"lhmelt_16536/h1_lh0.lzh", GPL2_GZ},
    {"lhmelt_16536/h1_lh1.lzh", GPL2},
    {"lhmelt_16536/h1_lh5.lzh", GPL2},
    {"lhmelt_16536/h1_subdir.lzh", HELLO1},
    {"lhmelt_16536/h2_lh0.lzh", GPL2_GZ},
    {"lhmelt_16536/h2_lh1.lzh", GPL2},
    {"lhmelt_16536/h2_lh5.lzh", GPL2},
    {"lhmelt_16536/h2_subdir.lzh", HELLO1},
    {"lhmelt_16536/sfx_winsfx32_213.exe", GPL2},
    {"lhmelt_16536/sfx_winsfx32m_250.exe", GPL2},
    {"lhmelt_16536/sfx_winsfx_213.exe", GPL2},
    {"lhmelt_16536/sfx_winsfxm_250.exe", GPL2},
    {"lha_osk_201/h0_lh0.lzh", GPL2_GZ},
    {"lha_osk_201/h0_lh1.lzh", GPL2},
    {"lha_osk_201/h0_lh5.lzh", GPL2},
    {"lha_osk_201/h1_lh0.lzh", GPL2_GZ},
    {"lha_osk_201/h1_lh1.lzh", GPL2},
    {"lha_osk_201/h1_lh5.lzh", GPL2},
    {"lha_osk_201/h1_subdir.lzh", HELLO1},
    {"lha_osk_201/h2_lh0.lzh", GPL2_GZ},
    {"lha_osk_201/h2_lh1.lzh", GPL2},
    {"lha_osk_201/h2_lh5.lzh", GPL2},
    {"lha_osk_201/h2_subdir.lzh", HELLO1},
    {"lha_os9_211c/h0_lh0.lzh", GPL2_GZ},
    {"lha_os9_211c/h0_lh1.lzh", GPL2},
    {"lha_os9_211c/h0_subdir.lzh", HELLO1},
    {"lha_os9_211c/h1_lh0.lzh", GPL2_GZ},
    {"lha_os9_211c/h1_lh1.lzh", GPL2},
    {"lha_os9_211c/h1_subdir.lzh", HELLO1},
    {"lha_os9_211c/h2_lh0.lzh", GPL2_GZ},
    {"lha_os9_211c/h2_lh1.lzh", GPL2},
    {"lha_os9_211c/h2_subdir.lzh", HELLO1},
    {"lhark04d/lh0.lzh", GPL2_GZ},
    {"lhark04d/lh5.lzh", GPL2},
    {"lhark04d/lh7.lzh", GPL2},  // LHARK's own -lh7-, read as -lk7-
    {"unlha32/h2_lhx.lzh", GPL2},
    {"regression/abspath.lzh", 0xbd98d221, 46},
    {"regression/badterm.lzh", 0x00000000, 0},
    {"regression/unixsep.lzh", HELLO1},
    {"generated/lzs/lzs.lzs", GPL2},
};

std::uint32_t Crc32(const Bytes& data) {
  return static_cast<std::uint32_t>(
      crc32(crc32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size())));
}

// Every path below `root`, relative, folders marked with a trailing '/', links with '@'.
std::vector<std::string> Tree(const fs::path& root) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    std::string rel = fs::relative(e.path(), root).string();
    if (e.is_symlink())
      rel += "@";
    else if (e.is_directory())
      rel += "/";
    names.push_back(rel);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::map<std::string, Bytes> FilesByWindowsName(const fs::path& dir) {
  std::map<std::string, Bytes> files;
  for (const auto& file : fs::directory_iterator(dir)) {
    std::string name = file.path().filename().string();
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    files[name] = file.is_regular_file() ? ReadFile(file.path()) : Bytes{'?'};
  }
  return files;
}

class LhaExtractTest : public ::testing::Test {
 protected:
  hv::test::Unpacked Extract(const fs::path& archive) {
    return hv::test::Attempt([&] { return ExtractLha(archive.string(), area_.dest_str()); });
  }
  test::ZipWorkArea area_;
};

TEST_F(LhaExtractTest, EveryArchiverAndMethodGivesTheDataLhasaRecords) {
  for (const Expected& e : kCorpus) {
    SCOPED_TRACE(e.archive);
    test::ZipWorkArea area;
    const auto result = hv::test::Attempt(
        [&] { return ExtractLha((kArchives / e.archive).string(), area.dest_str()); });
    ASSERT_TRUE(result.ok) << result.failure.description;
    ASSERT_FALSE(result.written.empty());
    const Bytes data = ReadFile(area.dest() / result.written.front());
    EXPECT_EQ(data.size(), e.length);
    EXPECT_EQ(Crc32(data), e.crc32);
    // Flat: the folder holds the reported files and nothing else.
    std::vector<std::string> names = result.written;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(Tree(area.dest()), names);
  }
}

// Debian's lha (lhasa's own tool, an older release) with -i drops folders the same way.
TEST_F(LhaExtractTest, AgreesWithDebiansLhaIgnoringFolders) {
  const std::string lha = test::ToolPath(HV_LHA_TOOL);
  HV_REQUIRE_TOOL(lha);
  int compared = 0;
  for (const Expected& e : kCorpus) {
    SCOPED_TRACE(e.archive);
    // Its name holds a terminal escape, which our name check turns into '_' on purpose.
    if (std::string(e.archive) == "regression/badterm.lzh") continue;
    test::ZipWorkArea area;
    const fs::path peer = area.src();
    const auto run = test::Run(lha, {"-eifqw=" + peer.string(), (kArchives / e.archive).string()});
    if (run.exit_code != 0) continue;  // methods the older release does not know
    const auto result = hv::test::Attempt(
        [&] { return ExtractLha((kArchives / e.archive).string(), area.dest_str()); });
    ASSERT_TRUE(result.ok) << result.failure.description;
    // Compared as Windows compares names: trailing dots and blanks dropped ("gpl-2." in
    // PMarc's archive), letter case ignored (the older release lowers fewer DOS names).
    EXPECT_EQ(FilesByWindowsName(area.dest()), FilesByWindowsName(peer));
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

TEST_F(LhaExtractTest, FoldersAreDroppedAndTheirEntriesSkipped) {
  auto result = Extract(kArchives / "lha_unix114i/h2_subdir.lzh");
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"hello.txt"});
  EXPECT_EQ(Tree(area_.dest()), std::vector<std::string>{"hello.txt"});

  // An archive of nothing but a folder unpacks to nothing, successfully.
  result = Extract(kArchives / "regression/dir.lzh");
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_TRUE(result.written.empty());
}

TEST_F(LhaExtractTest, SeveralFilesComeOutInArchiveOrder) {
  const auto result = Extract(kArchives / "regression/multiple.lzh");
  ASSERT_TRUE(result.ok) << result.failure.description;
  // As Debian's lha lists the archive.
  const std::vector<std::string> listed = {"file1.txt", "file2-1.txt", "file2-2.txt", "file3.txt",
                                           "file4.txt"};
  EXPECT_EQ(result.written, listed);
  EXPECT_EQ(area_.DestNames(), listed);
}

// lhasa's archives built to escape the folder: through "..", an absolute path, or a link
// that a later file is written through.
TEST_F(LhaExtractTest, HostileRegressionArchivesStayInsideTheFolder) {
  for (const char* name :
       {"regression/dotdot.lzh", "regression/abspath.lzh", "regression/symlink1.lzh",
        "regression/symlink2.lzh", "regression/symlink3.lzh", "lha_unix114i/h1_symlink.lzh"}) {
    SCOPED_TRACE(name);
    test::ZipWorkArea area;
    const auto before = test::SnapshotOutside(area.root(), "dest");
    const auto result =
        hv::test::Attempt([&] { return ExtractLha((kArchives / name).string(), area.dest_str()); });
    ASSERT_TRUE(result.ok) << result.failure.description;
    EXPECT_EQ(test::SnapshotOutside(area.root(), "dest"), before);
    std::vector<std::string> names = result.written;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(Tree(area.dest()), names);  // no links, no folders
  }
}

TEST_F(LhaExtractTest, ATruncatedArchiveFailsAndLeavesNoFile) {
  const auto result = Extract(kArchives / "regression/truncated.lzh");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.failure.number, unpack::kInvalidFormat) << result.failure.description;
  EXPECT_TRUE(Tree(area_.dest()).empty());
}

// Inputs the fuzzer found that broke lhasa 0.4.0 itself (fixed in the vendored copy).
TEST_F(LhaExtractTest, DecoderDamageFoundByFuzzingFailsCleanly) {
  // A -pm2- code tree giving copy codes past the end of its length table.
  const auto result = Extract(kArchives / "fuzz/pm2_copy_code.lzh");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.failure.number, unpack::kInvalidFormat) << result.failure.description;
  EXPECT_TRUE(Tree(area_.dest()).empty());
}

}  // namespace
}  // namespace hv::lha
