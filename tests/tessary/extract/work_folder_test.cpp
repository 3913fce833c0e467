// The working folder: every way of naming a folder that is not the extraction's own is refused
// before anything is touched, and nothing outside the working folder ever changes.

#include "tessary/extract/work_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "extract_fixture.h"
#include "support/bytes.h"
#include "support/tools.h"

namespace hv::tessary::test {
namespace {

using hv::test::ToolPath;

// Every entry below `top` but the working folder's subtree: its path, kind and content.
std::map<std::string, std::string> Snapshot(const fs::path& top, const fs::path& skip) {
  std::map<std::string, std::string> out;
  for (auto it = fs::recursive_directory_iterator(top); it != fs::recursive_directory_iterator();
       ++it) {
    const fs::path& p = it->path();
    if (p == skip) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_symlink()) {
      out[p.string()] = "link:" + fs::read_symlink(p).string();
    } else if (it->is_directory()) {
      out[p.string()] = "dir";
    } else {
      std::ifstream in(p, std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      out[p.string()] = "file:" + bytes.str();
    }
  }
  return out;
}

class WorkFolderTest : public ExtractTest {
 protected:
  WorkFolderTest() {
    home = tmp / "home" / "me";
    fs::create_directories(home / "Documents");
    hv::test::WriteFile(home / "Documents" / "letter.txt", "dear");
    hv::test::WriteFile(home / "Documents" / "list.txt", "milk");
    fs::create_directories(tmp / "area" / "cwd");
    hv::test::WriteFile(tmp / "area" / "sibling.txt", "next door");
    const char* saved = std::getenv("HOME");
    saved_home_ = saved ? saved : "";
    ::setenv("HOME", home.c_str(), 1);
    fs::current_path(tmp / "area" / "cwd");
    stored = Zip("game.zip", {Store("game.d64", "disk")});
  }
  ~WorkFolderTest() override { ::setenv("HOME", saved_home_.c_str(), 1); }

  // Extracts into `work_dir` (as given, relative or not); the error text when refused.
  std::string Refusal(const std::string& work_dir) {
    std::string file = "kept", fail = "kept too";
    try {
      extract->Extract("", stored.string(), "", work_dir, file, fail, "", "");
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), vberr::kPathFileAccess);
      EXPECT_EQ(file, "kept");
      EXPECT_EQ(fail, "kept too");
      return e.Description();
    }
    return {};
  }

  // The extraction into `work_dir` must succeed and leave everything but `effective` unchanged.
  void ExpectExtractsInto(const std::string& work_dir, const fs::path& effective) {
    const auto before = Snapshot(tmp.path(), effective);
    Outcome o;
    o.ok = extract->Extract("", stored.string(), "", work_dir, o.file, o.fail, "", "");
    ASSERT_TRUE(o.ok) << work_dir << ": " << o.fail;
    EXPECT_EQ(fs::path(o.file).lexically_normal(),
              (fs::absolute(effective) / "ReZip" / "game.d64").lexically_normal());
    EXPECT_TRUE(fs::exists(effective / kWorkFolderMarker));
    EXPECT_EQ(Snapshot(tmp.path(), effective), before) << work_dir;
  }

  void ExpectRefusedUntouched(const std::string& work_dir, const std::string& reason) {
    const auto before = Snapshot(tmp.path(), tmp / "nothing-skipped");
    const std::string text = Refusal(work_dir);
    EXPECT_NE(text.find("is not deleted: " + reason), std::string::npos)
        << work_dir << ": " << text;
    EXPECT_EQ(Snapshot(tmp.path(), tmp / "nothing-skipped"), before) << work_dir;
  }

  fs::path home, stored;

 private:
  std::string saved_home_;
};

TEST_F(WorkFolderTest, RelativeNamesAreTakenFromTheCurrentFolderOnce) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  const fs::path cwd = tmp / "area" / "cwd";
  ExpectExtractsInto("work", cwd / "work");
  // Run again from inside the working folder: "." still names it, not its parent.
  fs::current_path(cwd / "work");
  ExpectExtractsInto(".", cwd / "work");
  fs::current_path(cwd / "work");
  ExpectExtractsInto("./", cwd / "work");
  EXPECT_TRUE(fs::exists(tmp / "area" / "sibling.txt"));
}

TEST_F(WorkFolderTest, FoldersOfOtherFilesAreRefused) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  // ".." is the area folder, which holds a user's file.
  ExpectRefusedUntouched("..", "it is not empty");
  ExpectRefusedUntouched((tmp / "home").string(), "it holds the user's home folder");
  ExpectRefusedUntouched(home.string(), "it is the user's home folder");
  ExpectRefusedUntouched((home / "Documents").string(), "it is not empty");
  ExpectRefusedUntouched((tmp / "area" / "sibling.txt").string(), "it is a file");
  ExpectRefusedUntouched((tmp / "area" / "w*").string(), "its name holds a wildcard");
  fs::create_symlink(home, tmp / "area" / "homelink");
  ExpectRefusedUntouched("../homelink", "it is the user's home folder");
  ExpectRefusedUntouched((tmp / "store").string(), "it holds the stored file");
}

TEST_F(WorkFolderTest, OnlyWhatAnExtractionLeavesIsCleared) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  // A folder of an earlier run, from before the marker: its levels, result and stored file.
  const fs::path old = tmp / "area" / "old";
  fs::create_directories(old / "P1" / "P2");
  fs::create_directories(old / "ReZip");
  hv::test::WriteFile(old / "older.zip", "z");
  hv::test::WriteFile(old / "P1" / "P2" / "x.prg", "p");
  ExpectExtractsInto(old.string(), old);
  EXPECT_FALSE(fs::exists(old / "older.zip"));

  // A marked folder is ours whatever it holds now.
  hv::test::WriteFile(old / "left over.txt", "x");
  fs::create_directories(old / "Some folder");
  ExpectExtractsInto(old.string(), old);
  EXPECT_FALSE(fs::exists(old / "left over.txt"));

  // A run that failed before its first level leaves the stored file alone, without a marker.
  const fs::path failed = tmp / "area" / "failed";
  fs::create_directories(failed);
  hv::test::WriteFile(failed / "huge.bin", "h");
  ExpectExtractsInto(failed.string(), failed);
  EXPECT_FALSE(fs::exists(failed / "huge.bin"));

  // The same layout with a second loose file, or another folder, is someone else's.
  const fs::path other = tmp / "area" / "other";
  fs::create_directories(other / "P1");
  hv::test::WriteFile(other / "a.zip", "a");
  hv::test::WriteFile(other / "b.txt", "b");
  ExpectRefusedUntouched(other.string(), "it is not empty");
  fs::remove(other / "b.txt");
  fs::create_directories(other / "Photos");
  ExpectRefusedUntouched(other.string(), "it is not empty");
}

TEST_F(WorkFolderTest, TheMarkerIsNeverSeen) {
  HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
  const fs::path work = tmp / "area" / "w";
  // The stored file is the game file itself: the top level is the result's folder.
  Outcome o;
  o.ok = extract->Extract("", Store("solo.t64", "t").string(), "", work.string(), o.file, o.fail,
                          "", "");
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_FALSE(fs::exists(work / "ReZip" / kWorkFolderMarker));
  // Nothing compatible: the failure lists the folder's files, never the marker.
  o.ok = extract->Extract("", Zip("none.zip", {StoreBytes("huge.bin", 60000)}).string(), "",
                          work.string(), o.file, o.fail, "", "");
  ASSERT_FALSE(o.ok);
  EXPECT_EQ(o.fail.find(kWorkFolderMarker), std::string::npos) << o.fail;
  EXPECT_NE(o.fail.find("huge.bin"), std::string::npos) << o.fail;
}

TEST(WorkFolderContentTest, TellsOursFromOthers) {
  hv::test::TempDir tmp;
  const fs::path f = tmp / "f";
  fs::create_directories(f);
  EXPECT_EQ(InspectWorkFolder(f.string()), WorkFolderContent::kEmpty);
  hv::test::WriteFile(f / "game.zip", "z");
  EXPECT_EQ(InspectWorkFolder(f.string()), WorkFolderContent::kEarlierLayout);
  hv::test::WriteFile(f / "notes.txt", "n");
  EXPECT_EQ(InspectWorkFolder(f.string()), WorkFolderContent::kForeign);
  fs::remove(f / "notes.txt");
  fs::create_directories(f / "p12");
  EXPECT_EQ(InspectWorkFolder(f.string()), WorkFolderContent::kEarlierLayout);
  fs::create_directories(f / "P1x");
  EXPECT_EQ(InspectWorkFolder(f.string()), WorkFolderContent::kForeign);
  hv::test::WriteFile(f / kWorkFolderMarker, "");
  EXPECT_EQ(InspectWorkFolder(f.string()), WorkFolderContent::kMarked);
}

}  // namespace
}  // namespace hv::tessary::test
