// Hostile archives handed to a whole extraction, with the working folder among bystander files
// and folders: every archive ends in the failure report or in a game file inside the working
// folder, and not one byte outside the working folder changes. What the zip reader refuses and
// why is zip/zip_hostile_test.cpp's; the limits of depth and size are extract_safety_test.cpp's.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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

std::string UnzipFailure(const std::string& zip_path, const char* why = texts::kPossiblyCorrupt) {
  return std::string(texts::kUnzipError) + "\r\n\r\n" + zip_path + "\r\n\r\n" + why;
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
  Outcome Run(const std::vector<SynthEntry>& entries) { return Run(BuildZip(entries)); }

  // Nothing half-written stays in the level folder the reader failed in.
  void ExpectEmpty(const fs::path& folder) {
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    EXPECT_TRUE(fs::is_empty(folder)) << folder;
  }
};

// Names aimed at the working folder's neighbours and at the driver's own folders land flat in
// the level folder and from there in ReZip. How the zip reader takes each form of name apart is
// zip_hostile_test.cpp's; here the whole extraction runs among bystanders.
TEST_F(ExtractHostileTest, EscapingNamesLandInTheResultFolder) {
  const std::string absolute = (tmp / "etc" / "x.prg").string();
  for (const std::string& name :
       {absolute, std::string("../../x.prg"), std::string("../../work/../ReZip/x.prg")}) {
    const Outcome o = Run({{.name = name, .data = Text("payload")}});
    ASSERT_TRUE(o.ok) << name << ": " << o.fail;
    EXPECT_EQ(o.file, W("ReZip/x.prg")) << name;
    EXPECT_EQ(hv::test::ReadFile(o.file), Text("payload")) << name;
  }

  // Nothing usable left of a name: the extraction fails with the unzip report, which names the
  // refused name as the cause, and writes nothing, not even the entry before it.
  const Outcome none = Run({{.name = "ok.prg", .data = Text("1")}, {.name = "..", .data = {}}});
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.fail, UnzipFailure(W("hostile.zip"), texts::kUnsafeMemberName));
  ExpectEmpty(work() / "P1");

  // zip itself keeps ".." in a stored name; the loose file it holds becomes a program.
  HV_REQUIRE_TOOL(hv::test::ToolPath(HV_ZIP_TOOL));
  hv::test::TempDir scratch;
  fs::create_directories(scratch / "a" / "b");
  hv::test::WriteFile(scratch / "a" / "b" / "evil.bin", std::string("x"));
  const auto made = hv::test::Run(hv::test::ToolPath(HV_ZIP_TOOL),
                                  {"-q", (scratch / "evil.zip").string(), "../a/b/evil.bin"},
                                  (scratch / "a").string());
  ASSERT_EQ(made.exit_code, 0) << made.err;
  const Outcome o = Run(hv::test::ReadFile(scratch / "evil.zip"), "evil.zip");
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/evil.bin.prg"));
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
  // Without the bound the whole 8 MiB image would come out and be the game file. With it,
  // gunzip is stopped and removes what it wrote: nothing compatible, and no part of the image.
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail.rfind(texts::kNotCompatible, 0), 0u) << o.fail;
  std::vector<std::string> images;
  for (const auto& e : fs::recursive_directory_iterator(work())) {
    if (e.path().filename() == "bomb.d64") images.push_back(e.path().string());
  }
  EXPECT_EQ(images, std::vector<std::string>{});
}

}  // namespace
}  // namespace hv::tessary::test
