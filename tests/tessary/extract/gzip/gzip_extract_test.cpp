// gzip files made by Debian's gzip: the output must match what gzip -d itself writes, under the
// name gunzip gives it; damaged files must fail and leave nothing behind.
#include "tessary/extract/unpack/gzip/gzip_extract.h"

#include <gtest/gtest.h>

#include "../zip/zip_fixture.h"
#include "support/tools.h"
#include "tessary/extract/unpack/gzip/gzip_names.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::gzip {
namespace {

using test::Bytes;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

TEST(GunzipNameTest, DropsTheSuffixesGunzipKnowsInAnyCase) {
  EXPECT_EQ(GunzipName("game.d64.gz"), "game.d64");
  EXPECT_EQ(GunzipName("GAME.PRG.GZ"), "GAME.PRG");
  EXPECT_EQ(GunzipName("game-gz"), "game");
  EXPECT_EQ(GunzipName("game.z"), "game");
  EXPECT_EQ(GunzipName("game.Z"), "game");
  EXPECT_EQ(GunzipName("game-z"), "game");
  EXPECT_EQ(GunzipName("game_Z"), "game");
  // The tar shorthands keep a lower-case ".tar", as gunzip writes it.
  EXPECT_EQ(GunzipName("games.tgz"), "games.tar");
  EXPECT_EQ(GunzipName("GAMES.TAZ"), "GAMES.tar");
}

TEST(GunzipNameTest, RefusesNamesWithoutAKnownSuffixOrWithNothingBeforeIt) {
  EXPECT_EQ(GunzipName("game.d64"), std::nullopt);
  EXPECT_EQ(GunzipName("game.gzip"), std::nullopt);
  EXPECT_EQ(GunzipName("gamegz"), std::nullopt);
  EXPECT_EQ(GunzipName(".gz"), std::nullopt);
  EXPECT_EQ(GunzipName("_z"), std::nullopt);
  EXPECT_EQ(GunzipName(""), std::nullopt);
}

class GzipExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gzip_ = test::ToolPath(HV_GZIP_TOOL);
    if (gzip_.empty()) GTEST_SKIP() << "gzip missing";
  }

  // gzip's compressed form of `data`, made through a file named `name`.
  Bytes Gzip(const Bytes& data, const std::string& name = "data.prg",
             const std::vector<std::string>& flags = {}) {
    const fs::path raw = area_.src() / name;
    WriteFile(raw, data);
    std::vector<std::string> args = flags;
    args.insert(args.end(), {"-c", raw.string()});
    const auto run = test::Run(gzip_, args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    fs::remove(raw);
    return Bytes(run.out.begin(), run.out.end());
  }

  // What `gzip -dc` makes of `packed`, with its exit status.
  std::pair<Bytes, int> Gunzip(const Bytes& packed) {
    const fs::path file = area_.src() / "peer.gz";
    WriteFile(file, packed);
    const auto run = test::Run(gzip_, {"-dc", file.string()});
    return {Bytes(run.out.begin(), run.out.end()), run.exit_code};
  }

  fs::path Archive(const std::string& name, const Bytes& bytes) {
    const fs::path path = area_.root() / name;
    WriteFile(path, bytes);
    return path;
  }

  hv::test::Unpacked Extract(const fs::path& archive, const unpack::UnpackOptions& options = {}) {
    return hv::test::Attempt(
        [&] { return ExtractGzip(archive.string(), area_.dest_str(), options); });
  }

  std::string gzip_;
  test::ZipWorkArea area_;
};

TEST_F(GzipExtractTest, OneMemberComesOutAsGzipWroteItUnderTheGunzipName) {
  const Bytes data = test::PseudoRandomBytes(174848, 7);
  const fs::path archive = Archive("Game.D64.gz", Gzip(data));
  const auto result = Extract(archive);
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"Game.D64"});
  EXPECT_EQ(result.warning, "");
  EXPECT_EQ(area_.DestNames(), std::vector<std::string>{"Game.D64"});
  EXPECT_EQ(ReadFile(area_.dest() / "Game.D64"), data);
  EXPECT_TRUE(fs::exists(archive));  // the driver tidies the archive, not the reader
}

TEST_F(GzipExtractTest, TheNameStoredInsideIsIgnoredAsGunzipIgnoresItByDefault) {
  const Bytes packed = Gzip(Bytes{1, 2, 3}, "inner-name.prg", {"-N"});
  const auto result = Extract(Archive("outer.tgz", packed));
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"outer.tar"});
  EXPECT_EQ(ReadFile(area_.dest() / "outer.tar"), (Bytes{1, 2, 3}));
}

TEST_F(GzipExtractTest, EmptyAndHighlyCompressedInputsRoundTrip) {
  ASSERT_TRUE(Extract(Archive("empty.prg.gz", Gzip({}))).ok);
  EXPECT_TRUE(ReadFile(area_.dest() / "empty.prg").empty());
  // An empty disk image: very compressible, yet below the point where the ratio cap applies.
  const Bytes blank(174848, 0);
  const auto result = Extract(Archive("blank.d64-gz", Gzip(blank, "blank.d64", {"-9"})));
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(ReadFile(area_.dest() / "blank.d64"), blank);
}

TEST_F(GzipExtractTest, ConcatenatedMembersBecomeOneFileAsWithGzip) {
  const Bytes a = test::PseudoRandomBytes(100000, 1);
  const Bytes b = test::PseudoRandomBytes(3000, 2);
  Bytes packed = Gzip(a);
  const Bytes second = Gzip(b, "other.prg", {"-1"});
  packed.insert(packed.end(), second.begin(), second.end());
  const Bytes third = Gzip({});
  packed.insert(packed.end(), third.begin(), third.end());

  const auto result = Extract(Archive("set.prg.gz", packed));
  ASSERT_TRUE(result.ok) << result.failure.description;
  const auto [peer, status] = Gunzip(packed);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile(area_.dest() / "set.prg"), peer);
  Bytes both = a;
  both.insert(both.end(), b.begin(), b.end());
  EXPECT_EQ(peer, both);
}

TEST_F(GzipExtractTest, TrailingGarbageIsIgnoredWithAWarningAsGzipDoes) {
  const Bytes data = test::PseudoRandomBytes(5000, 3);
  struct Tail {
    std::string bytes;
    std::string warning;
    int gzip_status;  // 2 is gzip's warning status: the output is still written
  };
  for (const Tail& tail : {Tail{std::string("\x1A\x1A\x1A\x1A", 4), "trailing garbage ignored", 2},
                           Tail{"garbage after the member", "trailing garbage ignored", 2},
                           Tail{std::string(300, '\0'), "trailing zero bytes ignored", 0}}) {
    SCOPED_TRACE(tail.warning);
    Bytes packed = Gzip(data);
    packed.insert(packed.end(), tail.bytes.begin(), tail.bytes.end());
    const auto result = Extract(Archive("tail.prg.gz", packed));
    ASSERT_TRUE(result.ok) << result.failure.description;
    EXPECT_EQ(result.warning, tail.warning);
    const auto [peer, status] = Gunzip(packed);
    EXPECT_EQ(status, tail.gzip_status);
    EXPECT_EQ(peer, data);
    EXPECT_EQ(ReadFile(area_.dest() / "tail.prg"), data);
  }
}

// The folder holds what this extraction wrote before: that stays.
TEST_F(GzipExtractTest, KeepsAnExistingFileOfTheSameName) {
  WriteFile(area_.dest() / "game.prg", std::string("old"));
  const auto result = Extract(Archive("game.prg.gz", Gzip(Bytes{9, 8, 7})));
  ASSERT_TRUE(result.ok) << result.failure.description;
  EXPECT_EQ(result.written, std::vector<std::string>{"game (game.prg).prg"});
  EXPECT_EQ(ReadFile(area_.dest() / "game.prg"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(ReadFile(area_.dest() / "game (game.prg).prg"), (Bytes{9, 8, 7}));
}

// Every damaged file fails where gzip fails too, and the folder stays as it was.
TEST_F(GzipExtractTest, DamagedFilesFailAndLeaveNoFile) {
  const Bytes good = Gzip(test::PseudoRandomBytes(20000, 4));
  struct Case {
    std::string what;
    Bytes bytes;
  };
  std::vector<Case> cases;
  Bytes crc = good;
  crc[crc.size() - 6] ^= 0x40;  // the CRC-32 in the trailer
  cases.push_back({"bad CRC", crc});
  Bytes size = good;
  size[size.size() - 1] ^= 0x01;  // ISIZE in the trailer
  cases.push_back({"bad length", size});
  cases.push_back({"truncated", Bytes(good.begin(), good.end() - 100)});
  cases.push_back({"trailer cut", Bytes(good.begin(), good.end() - 3)});
  cases.push_back({"header only", Bytes(good.begin(), good.begin() + 10)});
  Bytes data = good;
  for (std::size_t i = 200; i < 300; ++i) data[i] = 0xFF;
  cases.push_back({"damaged data", data});
  Bytes method = good;
  method[2] = 7;  // not deflate
  cases.push_back({"unknown method", method});
  Bytes second = good;
  second.insert(second.end(), good.begin(), good.begin() + 40);  // a second member cut short
  cases.push_back({"cut second member", second});
  Bytes lone_magic = good;
  lone_magic.push_back(0x1F);  // gzip takes it for the start of a member
  cases.push_back({"lone magic byte", lone_magic});
  cases.push_back({"not gzip", Bytes{'P', 'K', 3, 4, 0, 0}});
  cases.push_back({"empty", {}});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path archive = Archive("bad.prg.gz", c.bytes);
    const auto result = Extract(archive);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.number, unpack::kInvalidFormat) << result.failure.description;
    EXPECT_NE(result.failure.description.find("The gzip file is damaged"), std::string::npos);
    EXPECT_TRUE(result.written.empty());
    EXPECT_TRUE(area_.DestNames().empty());
    EXPECT_NE(Gunzip(c.bytes).second, 0);
  }
}

TEST_F(GzipExtractTest, BudgetAndRatioCapStopTheRunWithNoFileLeft) {
  const Bytes data = test::PseudoRandomBytes(300000, 5);
  unpack::UnpackOptions small;
  small.max_total_bytes = 200000;
  auto result = Extract(Archive("big.prg.gz", Gzip(data)), small);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.failure.description.find("budget"), std::string::npos);
  EXPECT_TRUE(area_.DestNames().empty());

  // 8 MiB of zeros pack at about 1000:1, twice what any disk image needs.
  result = Extract(Archive("bomb.d64.gz", Gzip(Bytes(8 << 20, 0), "bomb.d64", {"-9"})));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.failure.description.find("ratio"), std::string::npos);
  EXPECT_TRUE(area_.DestNames().empty());
}

TEST_F(GzipExtractTest, NamesGunzipRefusesOrWindowsCannotHoldFailBeforeAnythingIsWritten) {
  const Bytes packed = Gzip(Bytes{1});
  for (const char* name : {"game.prg", "CON.gz", "nul.prg.gz", "...gz"}) {
    SCOPED_TRACE(name);
    const auto result = Extract(Archive(name, packed));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.number, vberr::kBadFileName) << result.failure.description;
    EXPECT_TRUE(area_.DestNames().empty());
  }
  const auto missing = Extract(area_.root() / "missing.gz");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.failure.number, vberr::kFileNotFound);
}

}  // namespace
}  // namespace hv::gzip
