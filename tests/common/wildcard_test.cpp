#include "common/wildcard.h"

#include <gtest/gtest.h>

#include "common/path_split.h"

namespace {

using hv::WildcardMatch;

TEST(WildcardTest, StarDotStarAndStarMatchEveryName) {
  for (const char* name : {"A.D64", "README", ".hidden", "x.tar.gz", "a."}) {
    EXPECT_TRUE(WildcardMatch("*.*", name)) << name;
    EXPECT_TRUE(WildcardMatch("*", name)) << name;
  }
}

TEST(WildcardTest, LettersCompareWithoutCase) {
  EXPECT_TRUE(WildcardMatch("*.SID", "tune.sid"));
  EXPECT_TRUE(WildcardMatch("*.sid", "TUNE.SID"));
  EXPECT_TRUE(WildcardMatch("\xE9t\xE9.*", "\xC9T\xC9.TXT"));  // e acute in cp1252
  EXPECT_FALSE(WildcardMatch("*.SID", "tune.sidx"));
  EXPECT_FALSE(WildcardMatch("*.SID", "tune.si"));
}

TEST(WildcardTest, QuestionMarkTakesExactlyOneCharacter) {
  EXPECT_TRUE(WildcardMatch("A?C.D64", "abc.d64"));
  EXPECT_FALSE(WildcardMatch("A?C.D64", "ac.d64"));
  EXPECT_FALSE(WildcardMatch("A?C.D64", "abbc.d64"));
}

TEST(WildcardTest, StarsBacktrack) {
  EXPECT_TRUE(WildcardMatch("*a*b*c", "xxaxxbxbxxc"));
  EXPECT_FALSE(WildcardMatch("*a*b*c", "xxaxxcxxb"));
  EXPECT_TRUE(WildcardMatch("GAME*", "game"));
  EXPECT_FALSE(WildcardMatch("", "a"));
}

TEST(WildcardTest, ExtensionFormsOfDot) {
  EXPECT_TRUE(WildcardMatch("README.*", "readme"));
  EXPECT_TRUE(WildcardMatch("*.", "readme"));
  EXPECT_FALSE(WildcardMatch("*.", "readme.txt"));
}

TEST(PathSplitTest, SplitsOnlyAtTheGivenSeparator) {
  EXPECT_EQ(hv::AfterLastSeparator("C:\\GAMES\\A.D64", '\\'), "A.D64");
  EXPECT_EQ(hv::AfterLastSeparator("C:/GAMES/A.D64", '\\'), "C:/GAMES/A.D64");
  EXPECT_EQ(hv::AfterLastSeparator("C:\\GAMES\\", '\\'), "");
  EXPECT_EQ(hv::WithTrailingSeparator("", '/'), "");
  EXPECT_EQ(hv::WithTrailingSeparator("/a/", '/'), "/a/");
  EXPECT_EQ(hv::WithTrailingSeparator("/a", '/'), "/a/");
  EXPECT_EQ(hv::WithTrailingSeparator("C:", '\\'), "C:\\");
}

}  // namespace
