#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/filesystem.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using hv::platform::FindData;
using hv::platform::SearchListing;

std::vector<std::string> Described(const std::vector<FindData>& list) {
  std::vector<std::string> out;
  for (const FindData& d : list) {
    out.push_back(d.name + " " + std::to_string(d.attributes) + " " + std::to_string(d.size_low) +
                  (d.kind_known ? " known" : ""));
  }
  return out;
}

void ExpectSame(const SearchListing& fast, const SearchListing& plain) {
  EXPECT_EQ(Described(fast.entries), Described(plain.entries));
  EXPECT_EQ(Described(fast.matches), Described(plain.matches));
}

// The one-pass listing must give exactly what the two enumerations give, in the same order.
TEST(SearchListingTest, OnePassAgreesWithTheEnumerations) {
  hv::test::TempDir dir;
  hv::test::WriteFile(dir / "A.sid", "12345");
  hv::test::WriteFile(dir / "b.SID", "1");
  hv::test::WriteFile(dir / "c.txt", "123");
  hv::test::WriteFile(dir / "Caf\xC3\xA9.sid", "12");  // a name outside ASCII
  fs::create_directory(dir / "SUB.SID");
  fs::create_directory(dir / "SUB");
  hv::test::WriteFile(dir / "SUB" / "deep.sid", "1234");
  fs::create_directory_symlink(dir.path(), dir / "LOOP.SID");
  fs::create_symlink(dir / "gone", dir / "DANGLING.SID");
  const std::string folder = dir.path().string() + "/";
  for (const std::string pattern :
       {"*.SID", "*", "*.*", "c.txt", "?.sid", "nothing", "", "SUB/*.sid", "NOWHERE/*"}) {
    SCOPED_TRACE(pattern);
    ExpectSame(hv::platform::ListForSearch(folder, pattern),
               hv::platform::ListForSearchByEnumeration(folder, pattern));
  }
  const SearchListing sids = hv::platform::ListForSearch(folder, "*.SID");
  EXPECT_EQ(sids.matches.size(), 6u);   // four files, a folder, a link; the dangling link too
  EXPECT_EQ(sids.entries.size(), 10u);  // with "." and ".."
}

TEST(SearchListingTest, AMissingFolderListsNothing) {
  hv::test::TempDir dir;
  const SearchListing none = hv::platform::ListForSearch(dir.path().string() + "/NOWHERE/", "*");
  EXPECT_TRUE(none.entries.empty());
  EXPECT_TRUE(none.matches.empty());
}

}  // namespace
