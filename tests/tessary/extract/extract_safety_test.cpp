// What an extraction must never do: delete a folder it does not own, loop without end, or
// fill the disk. Hostile names and hostile archives are extract_hostile_test.cpp's.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "extract_fixture.h"
#include "support/bytes.h"
#include "support/tools.h"
#include "tessary/extract/extract_texts.h"

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

// `depth` zips made by zip around one disk image, each named like the one it holds, as a zip
// that contains itself would be.
fs::path Nest(ExtractTest& t, int depth, const fs::path& d64) {
  fs::path current = d64;
  for (int i = 1; i <= depth; ++i) {
    const fs::path level = fs::path("nest" + std::to_string(depth)) / std::to_string(i);
    fs::create_directories(t.store / level);
    current = t.Zip((level / "game.zip").string(), {current});
  }
  return current;
}

TEST_F(ExtractSafetyTest, SixteenLevelsAreExaminedAndNoMore) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  const fs::path d64 = Store("deep.d64", "d");
  Outcome o = Extract(Nest(*this, 15, d64));
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/deep.d64"));
  EXPECT_EQ(extract->Level(), 16);

  o = Extract(Nest(*this, 16, d64));
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail, std::string(texts::kErrorPrefix) +
                        "\r\n\r\nThe archive nests archives more than 16 levels deep; the "
                        "extraction was stopped.  (6)");
  EXPECT_EQ(extract->Level(), 17);
}

// The bytes of every level draw on one budget: each level's file fits it alone, both together
// do not, so the second level is refused before it writes anything.
TEST_F(ExtractSafetyTest, ZipBytesAreBoundedOverAllLevels) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  const std::uint64_t image = 174848, filler = 150000;
  const fs::path inner = Zip("inner.zip", {StoreBytes("big.d64", image)});
  const fs::path outer = Zip("outer.zip", {inner, StoreBytes("filler.bin", filler)});

  ExtractServices services;
  services.max_total_bytes = filler + fs::file_size(inner) + image;
  Rebuild(services);
  Outcome o = Extract(outer);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/big.d64"));

  services.max_total_bytes = 250000;  // more than either level writes, less than both
  Rebuild(services);
  o = Extract(outer);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail.rfind(std::string(texts::kUnzipError) + "\r\n\r\n" + W("P1/inner.zip"), 0), 0u)
      << o.fail;
  EXPECT_TRUE(fs::is_regular_file(work() / "P1" / "filler.bin"));
  ASSERT_TRUE(fs::is_directory(work() / "P1" / "P2"));
  EXPECT_TRUE(fs::is_empty(work() / "P1" / "P2"));
}

}  // namespace
}  // namespace hv::tessary::test
