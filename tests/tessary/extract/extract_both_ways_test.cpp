// Every archive kind extracted both ways: by the outside tools, as Windows runs a tool that is
// found (stand-ins on the PATH with the Debian tools behind them), and by the built-in
// unpackers, as Linux always does and Windows does when the tool is missing. The inputs are made
// by the Debian tools or come from the LHA programs of many systems; both ways must end alike.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "extract_fixture.h"
#include "lha/lha_builder.h"
#include "support/bytes.h"
#include "support/tools.h"

namespace hv::tessary::test {
namespace {

using hv::test::Bytes;
using hv::test::ReadFile;
using hv::test::ToolPath;

// What one extraction left: its outcome, the names the chooser was offered, and every file
// below the working folder with its bytes.
struct Ending {
  Outcome outcome;
  std::vector<std::vector<std::string>> offered;
  std::map<std::string, Bytes> files;
};

class ExtractBothWaysTest : public ExtractTest {
 protected:
  void SetUp() override {
    for (const char* tool : {HV_GZIP_TOOL, HV_LHA_TOOL, HV_ZIP_TOOL, HV_ZIP2DISK_TOOL,
                             HV_DISK2ZIP_TOOL, HV_CBMCONVERT, HV_CC1541}) {
      if (ToolPath(tool).empty()) GTEST_SKIP() << "a Debian tool is missing: " << tool;
    }
    AllStandIns();
  }

  Ending ExtractOneWay(const fs::path& stored, bool outside) {
    ExtractServices services;
    services.run_found_tools = outside;
    Rebuild(services);
    chooser.offered.clear();
    const std::size_t runs_before = ToolLog().size();
    Ending e;
    e.outcome = Extract(stored);
    e.offered = chooser.offered;
    for (const auto& entry : fs::recursive_directory_iterator(work())) {
      if (entry.is_regular_file()) {
        e.files[fs::relative(entry.path(), work()).string()] = ReadFile(entry.path());
      }
    }
    // Either way must really have been taken.
    EXPECT_EQ(ToolLog().size() > runs_before, outside) << stored;
    return e;
  }

  // Both ways, and the built-in ending, for further checks.
  Ending ExpectSameEnding(const fs::path& stored) {
    SCOPED_TRACE(stored.filename().string());
    const Ending outside = ExtractOneWay(stored, true);
    const Ending built_in = ExtractOneWay(stored, false);
    EXPECT_EQ(built_in.outcome.ok, outside.outcome.ok);
    EXPECT_EQ(built_in.outcome.file, outside.outcome.file);
    EXPECT_EQ(built_in.outcome.fail, outside.outcome.fail);
    EXPECT_EQ(built_in.offered, outside.offered);
    EXPECT_EQ(Names(built_in.files), Names(outside.files));
    for (const auto& [name, bytes] : built_in.files) {
      const auto other = outside.files.find(name);
      if (other != outside.files.end()) {
        EXPECT_TRUE(bytes == other->second) << name;
      }
    }
    return built_in;
  }

  static std::vector<std::string> Names(const std::map<std::string, Bytes>& files) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    return names;
  }

  static std::vector<Bytes> SortedContents(const Ending& e) {
    std::vector<Bytes> contents;
    for (const auto& [name, bytes] : e.files) contents.push_back(bytes);
    std::sort(contents.begin(), contents.end());
    return contents;
  }

  // A cc1541 image with `count` files of different sizes.
  fs::path Image(const std::string& name, int count, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"-q", "-n", "both ways", "-i", "bw"};
    args.insert(args.end(), extra.begin(), extra.end());
    for (int i = 0; i < count; ++i) {
      const fs::path prg =
          Store("file" + std::to_string(i) + ".prg",
                std::string(2 + 97 * static_cast<std::size_t>(i), static_cast<char>('A' + i % 26)));
      args.insert(args.end(), {"-f", "FILE" + std::to_string(i), "-w", prg.string()});
    }
    const fs::path image = store / name;
    args.push_back(image.string());
    const auto r = hv::test::Run(ToolPath(HV_CC1541), args);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return image;
  }

  fs::path Gzip(const fs::path& file) {
    EXPECT_EQ(hv::test::Run(ToolPath(HV_GZIP_TOOL), {"-qnf", file.string()}).exit_code, 0);
    return file.string() + ".gz";
  }
};

TEST_F(ExtractBothWaysTest, GzipFiles) {
  const Bytes image = ReadFile(Image("game.d64", 40));
  const Ending single = ExpectSameEnding(Gzip(store / "game.d64"));
  ASSERT_TRUE(single.outcome.ok) << single.outcome.fail;
  EXPECT_TRUE(ReadFile(single.outcome.file) == image);

  // Two members one after the other, then bytes that start no member: gunzip writes both
  // members and warns of the rest.
  const fs::path a = Gzip(Store("a.t64", std::string(3000, 'a')));
  const fs::path b = Gzip(Store("b.t64", std::string(5000, 'b')));
  Bytes joined = ReadFile(a);
  const Bytes second = ReadFile(b);
  joined.insert(joined.end(), second.begin(), second.end());
  joined.insert(joined.end(), {'j', 'u', 'n', 'k'});
  hv::test::WriteFile(store / "two.t64.gz", joined);
  const Ending two = ExpectSameEnding(store / "two.t64.gz");
  ASSERT_TRUE(two.outcome.ok) << two.outcome.fail;
  EXPECT_EQ(ReadFile(two.outcome.file).size(), 8000u);

  // Only the first .gz of a folder is unpacked; every .gz goes.
  ExpectSameEnding(Zip("gz.zip", {a, b}));
}

// Where the Debian tool (lhasa's own lha) and the built-in reader part ways on purpose.
const std::map<std::string, std::string> kLhaDifferences = {
    // Damaged archives: the tool keeps what it could read, the reader refuses the archive.
    {"fuzz/", "damaged"},
    {"regression/truncated.lzh", "damaged"},
    // The tool writes names with terminal control characters as they are; the reader writes
    // '_' for them.
    {"regression/badterm.lzh", "control characters"},
    // The tool makes symbolic links; the reader leaves links out.
    {"symlink", "links"},
    // Debian's lhasa predates the OS type of LHark, whose capitals the newer library lowers.
    {"lhark04d/", "older tool"},
    // A MacBinary header before the data: the inner gzip file is damaged, which gunzip leaves
    // to the next level to notice and the built-in reader reports.
    {"maclha_224/l0_lh0.lzh", "MacBinary"},
};

bool PartsWays(const fs::path& archive) {
  const std::string path = archive.generic_string();
  return std::any_of(kLhaDifferences.begin(), kLhaDifferences.end(),
                     [&path](const auto& d) { return path.find(d.first) != std::string::npos; });
}

TEST_F(ExtractBothWaysTest, LhaArchivesOfManySystems) {
  std::vector<fs::path> archives;
  for (const auto& entry : fs::recursive_directory_iterator(HV_LHA_ARCHIVES)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".lzh" || ext == ".lha" || ext == ".LZH")) {
      archives.push_back(entry.path());
    }
  }
  std::sort(archives.begin(), archives.end());
  std::size_t compared = 0;
  for (const fs::path& archive : archives) {
    // Each under one name in the store, so that every ending names it alike.
    fs::remove_all(store);
    fs::create_directories(store);
    fs::copy_file(archive, store / "archive.lzh");
    SCOPED_TRACE(archive.string());
    if (!PartsWays(archive)) {
      ExpectSameEnding(store / "archive.lzh");
      ++compared;
      continue;
    }
    // The built-in way still ends in a result or a text that says why, never a partial file.
    const Ending e = ExtractOneWay(store / "archive.lzh", false);
    EXPECT_EQ(e.outcome.ok, e.outcome.fail.empty()) << e.outcome.fail;
  }
  EXPECT_GT(compared, 100u);
}

// No Debian tool writes LHA archives; these are built byte by byte as MS-DOS LHA stores them,
// folders and all, the game image made by cc1541.
TEST_F(ExtractBothWaysTest, LhaArchivesOfAGame) {
  const Bytes image = ReadFile(Image("game.d64", 12));
  hv::test::WriteFile(store / "game.lha",
                      hv::test::BuildLha({{"GAMES\\GAME.D64", image}, {"README.TXT", {'h', 'i'}}}));
  const Ending one = ExpectSameEnding(store / "game.lha");
  ASSERT_TRUE(one.outcome.ok) << one.outcome.fail;
  // Both lower the capitals of an MS-DOS name.
  EXPECT_EQ(one.outcome.file, W("ReZip/game.d64"));
  EXPECT_TRUE(ReadFile(one.outcome.file) == image);

  // Two game files and the same name twice: the tool lets the later member replace the earlier
  // one; the built-in reader keeps both, the later named after its folder.
  hv::test::WriteFile(
      store / "two.lzh",
      hv::test::BuildLha({{"A.PRG", {1, 8, 1}}, {"B.PRG", {1, 8, 2}}, {"SUB\\A.PRG", {1, 8, 3}}}));
  chooser.answers = {"a.prg"};
  const Ending outside = ExtractOneWay(store / "two.lzh", true);
  ASSERT_TRUE(outside.outcome.ok) << outside.outcome.fail;
  EXPECT_TRUE(ReadFile(outside.outcome.file) == (Bytes{1, 8, 3}));
  chooser.answers = {"a (sub).prg"};
  const Ending built_in = ExtractOneWay(store / "two.lzh", false);
  ASSERT_TRUE(built_in.outcome.ok) << built_in.outcome.fail;
  EXPECT_EQ(built_in.offered,
            (std::vector<std::vector<std::string>>{{"a (sub).prg", "a.prg", "b.prg"}}));
  EXPECT_TRUE(built_in.files.at("ReZip/a (sub).prg") == (Bytes{1, 8, 3}));
  EXPECT_TRUE(built_in.files.at("ReZip/a.prg") == (Bytes{1, 8, 1}));
}

TEST_F(ExtractBothWaysTest, ZipcodeSets) {
  const fs::path image = Image("set.d64", 40);
  std::vector<fs::path> parts;
  for (const char* base : {"alpha", "beta"}) {
    ASSERT_EQ(
        hv::test::Run(ToolPath(HV_DISK2ZIP_TOOL), {image.string(), base}, store.string()).exit_code,
        0);
    for (int i = 1; i <= 4; ++i) parts.push_back(store / (std::to_string(i) + "!" + base));
  }
  chooser.answers = {"beta.d64", "beta.d64"};
  const Ending e = ExpectSameEnding(Zip("set.zip", parts));
  ASSERT_TRUE(e.outcome.ok) << e.outcome.fail;
  EXPECT_TRUE(ReadFile(e.outcome.file) == ReadFile(image));

  // A set missing a part beside a whole one: zip2disk still writes an image, with the missing
  // tracks left out; the built-in joiner leaves that set out and the whole one is the result.
  parts.erase(std::find(parts.begin(), parts.end(), store / "3!beta"));
  const fs::path partial_zip = Zip("partial.zip", parts);
  const Ending partial = ExtractOneWay(partial_zip, false);
  ASSERT_TRUE(partial.outcome.ok) << partial.outcome.fail;
  EXPECT_EQ(partial.outcome.file, W("ReZip/alpha.d64"));
  EXPECT_FALSE(fs::exists(work() / "ReZip" / "beta.d64"));
  EXPECT_TRUE(ReadFile(partial.outcome.file) == ReadFile(image));
}

TEST_F(ExtractBothWaysTest, LynxArchives) {
  const fs::path image = Image("lynx.d64", 40);
  const fs::path lnx = store / "game.lnx";
  ASSERT_EQ(hv::test::Run(ToolPath(HV_CBMCONVERT),
                          {"-v0", "-L", lnx.string(), "-d", image.string()}, store.string())
                .exit_code,
            0);
  // cbmconvert spells the C64 names its own way, so only the files' bytes can agree: the
  // chooser (declined) is offered the same number of files, which stay with the same bytes.
  const Ending outside = ExtractOneWay(lnx, true);
  const Ending built_in = ExtractOneWay(lnx, false);
  EXPECT_FALSE(outside.outcome.ok);
  EXPECT_FALSE(built_in.outcome.ok);
  ASSERT_EQ(built_in.offered.size(), 1u);
  ASSERT_EQ(outside.offered.size(), 1u);
  EXPECT_EQ(built_in.offered[0].size(), 40u);
  EXPECT_EQ(outside.offered[0].size(), 40u);
  EXPECT_EQ(SortedContents(built_in), SortedContents(outside));
}

}  // namespace
}  // namespace hv::tessary::test
