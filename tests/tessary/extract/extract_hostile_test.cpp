// Hand-built archives handed to a whole extraction, with the working folder among bystander
// files and folders: every archive ends in the failure report or in a game file inside the
// working folder, and not one byte outside the working folder changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "common/text.h"
#include "extract_fixture.h"
#include "platform/process.h"
#include "support/bytes.h"
#include "support/tools.h"
#include "tessary/extract/extract_texts.h"
#include "zip/zip_builder.h"

namespace hv::tessary::test {
namespace {

using hv::test::BuildZip;
using hv::test::Bytes;
using hv::test::SynthEntry;

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

std::uint64_t Fnv(std::uint64_t h, const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 0x100000001b3ull;
  return h;
}

// Path -> hash of kind, size and content for everything below `root` except the folder
// `skip` and its contents. Links are hashed as links, never followed.
std::map<std::string, std::uint64_t> TreeDigest(const fs::path& root, const std::string& skip) {
  std::map<std::string, std::uint64_t> digest;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string rel = fs::relative(it->path(), root).generic_string();
    if (rel == skip || rel.starts_with(skip + "/")) {
      if (it->is_directory()) it.disable_recursion_pending();
      continue;
    }
    std::uint64_t h = 0xcbf29ce484222325ull;
    h = Fnv(h, rel.data(), rel.size());
    if (it->is_symlink()) {
      const std::string target = fs::read_symlink(it->path()).string();
      h = Fnv(h, "L", 1);
      h = Fnv(h, target.data(), target.size());
    } else if (it->is_directory()) {
      h = Fnv(h, "D", 1);
    } else {
      const Bytes content = hv::test::ReadFile(it->path());
      const std::uint64_t size = content.size();
      h = Fnv(h, "F", 1);
      h = Fnv(h, &size, sizeof size);
      h = Fnv(h, content.data(), content.size());
    }
    digest[rel] = h;
  }
  return digest;
}

std::string UnzipFailure(const std::string& zip_path) {
  return std::string(texts::kUnzipError) + "\r\n\r\n" + zip_path + "\r\n\r\n" +
         texts::kPossiblyCorrupt;
}

void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t GetU32(const Bytes& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

class ExtractHostileTest : public ExtractTest {
 protected:
  ExtractHostileTest() {
    // Names an escaping entry would reach, folders named like the driver's own, a sibling
    // whose name starts like the working folder's, and a link into the store.
    Bystander("x.prg", "bystander x");
    Bystander("etc/x.prg", "bystander etc");
    Bystander("ReZip/x.prg", "bystander result");
    Bystander("P1/game.d64", "bystander level");
    Bystander("workshop/a.prg", "bystander prefix");
    Bystander("bystander/deep/keep.bin", std::string(3000, '\xA5'));
    fs::create_directories(tmp / "bystander" / "empty");
    fs::create_directory_symlink(store, tmp / "store_link");
  }

  void Bystander(const std::string& rel, const std::string& content) {
    fs::create_directories((tmp / rel).parent_path());
    hv::test::WriteFile(tmp / rel, content);
  }

  // Stores `archive`, extracts it into work() and proves the rest of the tree unchanged.
  Outcome Run(const Bytes& archive, const std::string& name = "hostile.zip") {
    const fs::path stored = store / name;
    hv::test::WriteFile(stored, archive);
    auto before = TreeDigest(tmp.path(), "work");
    const Outcome o = Extract(stored);
    auto after = TreeDigest(tmp.path(), "work");
    // The stand-in tools keep their record beside the working folder.
    before.erase("tools.log");
    after.erase("tools.log");
    EXPECT_EQ(after, before) << "changed outside the working folder";
    if (o.ok) {
      EXPECT_EQ(o.fail, "");
      EXPECT_EQ(o.file.rfind(W("ReZip") + "/", 0), 0u) << o.file;
      EXPECT_TRUE(fs::is_regular_file(Cp1252ToUtf8(o.file))) << o.file;
    } else {
      EXPECT_EQ(o.file, "");
    }
    return o;
  }
  Outcome Run(const std::vector<SynthEntry>& entries, bool zip64_end = false) {
    return Run(BuildZip(entries, zip64_end));
  }

  // The zip reader's reason behind the last unzip failure.
  std::string Why() const { return extract->LastFailure().description; }

  // Nothing half-written stays in the level folder the reader failed in.
  void ExpectEmpty(const fs::path& folder) {
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    EXPECT_TRUE(fs::is_empty(folder)) << folder;
  }
};

TEST_F(ExtractHostileTest, EscapingNamesLandInTheResultFolder) {
  const std::string absolute = (tmp / "etc" / "x.prg").string();
  for (const std::string& name :
       {std::string("../x.prg"), absolute, std::string("C:\\x.prg"), std::string("..\\x.prg"),
        std::string("../../work/../ReZip/x.prg"), std::string("..\\..\\C:x.prg")}) {
    const Outcome o = Run({{.name = name, .data = Text("payload")}});
    ASSERT_TRUE(o.ok) << name << ": " << o.fail;
    EXPECT_EQ(o.file, W("ReZip/x.prg")) << name;
    EXPECT_EQ(hv::test::ReadFile(o.file), Text("payload")) << name;
  }
}

TEST_F(ExtractHostileTest, NamesWithControlAndNonAsciiBytesAreMadeSafe) {
  // CR, LF and NUL become '_'; code page 437's 0xA0 is a-acute.
  const Outcome o = Run({{.name = std::string("a\r\nb\xA0\0c.prg", 11), .data = Text("p")}});
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/a__b\xE1_c.prg"));

  // A line break cannot smuggle a folder in front of the name either.
  const Outcome split = Run({{.name = "evil\n/../../x.prg", .data = Text("q")}});
  ASSERT_TRUE(split.ok) << split.fail;
  EXPECT_EQ(split.file, W("ReZip/x.prg"));

  // Nothing usable left of the name: refused before anything is written.
  const Outcome none = Run({{.name = "ok.prg", .data = Text("1")}, {.name = "..", .data = {}}});
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.fail, UnzipFailure(W("hostile.zip")));
  ExpectEmpty(work() / "P1");
}

TEST_F(ExtractHostileTest, ArchivesNestedEighteenDeepStopAtSixteenLevels) {
  // Every level holds one archive named like itself, as a zip that contains itself would.
  Bytes archive = BuildZip({{.name = "game.d64", .data = Text("disk")}});
  for (int i = 2; i <= 18; ++i) archive = BuildZip({{.name = "hostile.zip", .data = archive}});
  const Outcome o = Run(archive);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, std::string(texts::kErrorPrefix) +
                        "\r\n\r\nThe archive nests archives more than 16 levels deep; the "
                        "extraction was stopped.  (6)");
  EXPECT_EQ(extract->Level(), 17);
}

TEST_F(ExtractHostileTest, DeflateBombsStopAtTheBudget) {
  ExtractServices services;
  services.max_total_bytes = 64 * 1024;
  Rebuild(services);
  const Bytes zeros(1024 * 1024, 0);

  Outcome o = Run({{.name = "bomb.d64", .data = zeros}});
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip")));
  EXPECT_NE(Why().find("size budget"), std::string::npos) << Why();
  ExpectEmpty(work() / "P1");

  // Recorded as small enough, inflating to far more.
  o = Run({{.name = "liar.d64", .data = zeros, .usize = 1000}});
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip")));
  EXPECT_NE(Why().find("larger than its recorded size"), std::string::npos) << Why();
  ExpectEmpty(work() / "P1");

  // The bomb one level down: the outer archive is small, the budget is the extraction's.
  o = Run({{.name = "inner.zip", .data = BuildZip({{.name = "bomb.d64", .data = zeros}})}});
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("P1/inner.zip")));
  EXPECT_NE(Why().find("size budget"), std::string::npos) << Why();
  ExpectEmpty(work() / "P1" / "P2");

  // Without a budget of the caller's, the ratio stops 8 MiB of zeros.
  Rebuild({});
  o = Run({{.name = "bomb.d64", .data = Bytes(8 * 1024 * 1024, 0)}});
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip")));
  EXPECT_NE(Why().find("compression ratio"), std::string::npos) << Why();
  ExpectEmpty(work() / "P1");
}

TEST_F(ExtractHostileTest, EntriesBeyondTheBoundsAreRefused) {
  // Larger than any one entry may be.
  Outcome o = Run({{.name = "huge.d64",
                    .data = Text("x"),
                    .usize = std::uint64_t{300} * 1024 * 1024,
                    .zip64 = true}},
                  true);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip")));
  EXPECT_NE(Why().find("entry too large"), std::string::npos) << Why();
  ExpectEmpty(work() / "P1");

  // A local header far past the end of the archive.
  Bytes bytes = BuildZip({{.name = "game.prg", .data = Text("abc")}});
  const std::uint32_t cd = GetU32(bytes, bytes.size() - 22 + 16);
  PutU32(bytes, cd + 42, 0x7FFFFFF0);
  o = Run(bytes);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip")));
  EXPECT_NE(Why().find("outside the archive"), std::string::npos) << Why();
  ExpectEmpty(work() / "P1");
}

TEST_F(ExtractHostileTest, DamagedDirectoriesAndWrongChecksumsFail) {
  const std::vector<SynthEntry> two = {{.name = "a.prg", .data = Text("first")},
                                       {.name = "b.prg", .data = Text("second")}};
  // The end record counts a directory shorter than its entries.
  Bytes bytes = BuildZip(two);
  PutU32(bytes, bytes.size() - 22 + 12, GetU32(bytes, bytes.size() - 22 + 12) - 10);
  Outcome o = Run(bytes);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip")));
  EXPECT_NE(Why().find("truncated central directory"), std::string::npos) << Why();
  ExpectEmpty(work() / "P1");

  // Cut off in the middle of the directory: no end record left.
  bytes = BuildZip(two);
  bytes.resize(GetU32(bytes, bytes.size() - 22 + 16) + 30);
  o = Run(bytes);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip")));
  EXPECT_NE(Why().find("no end-of-central-directory"), std::string::npos) << Why();

  // A wrong CRC leaves no half-checked file behind.
  o = Run({{.name = "game.prg", .data = Text("abcdef"), .crc = 1234}});
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip")));
  EXPECT_NE(Why().find("CRC error"), std::string::npos) << Why();
  ExpectEmpty(work() / "P1");
}

TEST_F(ExtractHostileTest, Zip64SizesThatLieFail) {
  const Bytes data(5000, 0x37);
  Outcome o = Run({{.name = "big.d64", .data = data, .zip64 = true}}, true);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/big.d64"));
  EXPECT_EQ(hv::test::ReadFile(o.file), data);

  for (const SynthEntry& liar :
       {SynthEntry{.name = "u.d64", .data = data, .usize = 1ull << 40, .zip64 = true},
        SynthEntry{.name = "c.d64", .data = data, .csize = 1ull << 40, .zip64 = true},
        SynthEntry{.name = "s.d64", .data = data, .usize = 4000, .zip64 = true}}) {
    o = Run({liar}, true);
    EXPECT_FALSE(o.ok) << liar.name;
    EXPECT_EQ(o.fail, UnzipFailure(W("hostile.zip"))) << liar.name;
    ExpectEmpty(work() / "P1");
  }
}

// An outside tool cannot be trusted to bound its output: gunzip of a gzip bomb is stopped when
// the file it writes reaches the bound, and the extraction goes on with what is there.
TEST_F(ExtractHostileTest, GzipBombsStopAtTheToolBound) {
  HV_REQUIRE_TOOL(hv::test::ToolPath(HV_GZIP_TOOL));
  constexpr std::uint64_t kBound = 256 * 1024;
  const auto tools = platform::MakeToolProcessService(kBound);
  ExtractServices services;
  services.tools = tools.get();
  services.run_found_tools = true;
  Rebuild(services);
  AllStandIns();
  hv::test::TempDir scratch;
  hv::test::WriteFile(scratch / "bomb.d64", Bytes(8 * 1024 * 1024, 0));
  const auto packed =
      hv::test::Run(hv::test::ToolPath(HV_GZIP_TOOL), {"-cn", (scratch / "bomb.d64").string()});
  ASSERT_EQ(packed.exit_code, 0);
  ASSERT_LT(packed.out.size(), 64u * 1024);

  const Outcome o = Run(Text(packed.out), "bomb.d64.gz");
  EXPECT_EQ(ToolLog(), (std::vector<std::string>{"gunzip.exe|-f|-q|" + W("bomb.d64.gz")}));
  // gunzip removes what it wrote when the bound stops it: nothing compatible is left.
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail.rfind(texts::kNotCompatible, 0), 0u) << o.fail;
  std::uint64_t largest = 0;
  for (const auto& e : fs::recursive_directory_iterator(work())) {
    if (e.is_regular_file()) largest = std::max<std::uint64_t>(largest, e.file_size());
  }
  EXPECT_LE(largest, kBound);
}

}  // namespace
}  // namespace hv::tessary::test
