// What an extraction must never do: delete a folder it does not own, loop without end, or
// fill the disk.

#include <gtest/gtest.h>

#include <cstdlib>

#include "extract_fixture.h"
#include "support/bytes.h"
#include "support/tools.h"

namespace hv::tessary::test {
namespace {

using hv::test::ToolPath;

class ExtractSafetyTest : public ExtractTest {};

// The working folder is refused before anything is deleted, and the outputs stay as passed.
void ExpectRefused(hvExtract& ex, const std::string& stored, const std::string& work_dir) {
  std::string file = "kept", fail = "kept too";
  try {
    ex.Extract("", stored, "", work_dir, file, fail, "", "");
    ADD_FAILURE() << "no error for " << work_dir;
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), vberr::kPathFileAccess);
    EXPECT_NE(e.Description().find("is not deleted"), std::string::npos) << e.Description();
  }
  EXPECT_EQ(file, "kept");
  EXPECT_EQ(fail, "kept too");
}

TEST_F(ExtractSafetyTest, RefusesEmptyRootAndHomeFolder) {
  const fs::path stored = Store("game.d64", "x");
  ExpectRefused(*extract, stored.string(), "");
  ExpectRefused(*extract, stored.string(), "/");
  ExpectRefused(*extract, stored.string(), "/./");

  const fs::path home = tmp / "home";
  fs::create_directories(home);
  Store("../home/precious.txt", "keep me");
  const char* saved = std::getenv("HOME");
  const std::string saved_home = saved ? saved : "";
  ::setenv("HOME", home.c_str(), 1);
  ExpectRefused(*extract, stored.string(), home.string());
  ExpectRefused(*extract, stored.string(), home.string() + "/");
  ::setenv("HOME", saved_home.c_str(), 1);
  EXPECT_TRUE(fs::exists(home / "precious.txt"));
}

TEST_F(ExtractSafetyTest, RefusesTheStoredFilesOwnFolder) {
  const fs::path stored = Store("game.d64", "x");
  ExpectRefused(*extract, stored.string(), store.string());
  EXPECT_TRUE(fs::exists(stored));
}

TEST_F(ExtractSafetyTest, MissingStoredFileReachesTheCaller) {
  std::string file = "kept", fail = "kept";
  EXPECT_THROW(extract->Extract("", (store / "none.zip").string(), "", W(), file, fail, "", ""),
               Error);
  EXPECT_EQ(file, "kept");
  EXPECT_EQ(extract->Status(), 1);
}

TEST_F(ExtractSafetyTest, MissingParentOfWorkFolderReachesTheCaller) {
  std::string file, fail;
  const fs::path stored = Store("game.d64", "x");
  EXPECT_THROW(
      extract->Extract("", stored.string(), "", (tmp / "no" / "work").string(), file, fail, "", ""),
      Error);
}

// Zips nested `depth` deep around one disk image.
fs::path Nest(ExtractTest& t, int depth, const fs::path& d64) {
  fs::path current = d64;
  for (int i = 1; i <= depth; ++i) {
    current = t.Zip("n" + std::to_string(depth) + "_" + std::to_string(i) + ".zip", {current});
  }
  return current;
}

TEST_F(ExtractSafetyTest, SixteenLevelsAreExaminedAndNoMore) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  const fs::path d64 = Store("deep.d64", "d");
  Outcome o = Extract(Nest(*this, 15, d64));
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(extract->Level(), 16);

  o = Extract(Nest(*this, 16, d64));
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail.rfind("An error was encountered while extracting this archive: \r\n\r\n", 0),
            0u);
  EXPECT_NE(o.fail.find("more than 16 levels deep"), std::string::npos) << o.fail;
  EXPECT_NE(o.fail.find("  (6)"), std::string::npos);
  EXPECT_EQ(extract->Level(), 17);
}

TEST_F(ExtractSafetyTest, ZipBytesAreBoundedOverAllLevels) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  ExtractServices services;
  services.max_total_bytes = 250000;
  Rebuild(services);
  // One image fits; the second level's copy passes the bound.
  const fs::path d64 = StoreBytes("big.d64", 174848);
  const fs::path inner = Zip("inner.zip", {d64, StoreBytes("more.d64", 174848)});
  const Outcome o = Extract(Zip("outer.zip", {inner}));
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail.rfind("There was an error unzipping the file:\r\n\r\n" + W("P1/inner.zip"), 0),
            0u)
      << o.fail;
  // Nothing half-written stays behind.
  for (const auto& e : fs::directory_iterator(work() / "P1" / "P2")) {
    EXPECT_TRUE(e.file_size() == 174848u) << e.path();
  }
}

TEST_F(ExtractSafetyTest, LooseFileNamesStayInsideTheLevelFolder) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  // zip keeps "..", but the reader writes entries flat under their last name.
  fs::create_directories(store / "a" / "b");
  Store("a/b/evil.bin", "x");
  const fs::path out = store / "evil.zip";
  const auto r = hv::test::Run(ToolPath(HV_ZIP_TOOL), {"-q", out.string(), "../a/b/evil.bin"},
                               (store / "a").string());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Outcome o = Extract(out);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/evil.bin.prg"));
  EXPECT_FALSE(fs::exists(tmp / "evil.bin"));
  EXPECT_FALSE(fs::exists(tmp / "evil.bin.prg"));
}

}  // namespace
}  // namespace hv::tessary::test
