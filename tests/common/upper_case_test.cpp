#include "common/upper_case.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using hv::LowerCase1252;
using hv::UpperCase1252;

TEST(UpperCaseTest, FollowsWindows1252) {
  EXPECT_EQ(UpperCase1252(std::string("$loadpath=\x9a\xff\xe0\xf7")), "$LOADPATH=\x8a\x9f\xc0\xf7");
  EXPECT_EQ(UpperCase1252("abc \xE0\xF7\xFE\xFF\xDF.d64"), "ABC \xC0\xF7\xDE\x9F\xDF.D64");
  EXPECT_EQ(LowerCase1252("ABC xyz 123 \xC0\xC9\xD6\xD7\xDE\x8A\x8C\x8E\x9F$0D"),
            "abc xyz 123 \xE0\xE9\xF6\xD7\xFE\x9A\x9C\x9E\xFF$0d");
  // Letters without a partner in the code page keep their byte: sharp s, micro sign, f hook,
  // the ordinal indicators.
  EXPECT_EQ(UpperCase1252("\xDF\xB5\x83\xAA\xBA"), "\xDF\xB5\x83\xAA\xBA");
}

// The two directions pair the same bytes: whatever one changes, the other changes back, and
// nothing is changed by both.
TEST(UpperCaseTest, LowerAndUpperAreInverse) {
  int letters = 0;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const char upper = UpperCase1252(c);
    const char lower = LowerCase1252(c);
    EXPECT_FALSE(upper != c && lower != c) << b;
    if (upper != c) {
      ++letters;
      EXPECT_EQ(LowerCase1252(upper), c) << b;
      EXPECT_EQ(UpperCase1252(upper), upper) << b;
    }
    if (lower != c) {
      EXPECT_EQ(UpperCase1252(lower), c) << b;
    }
  }
  EXPECT_EQ(letters, 26 + 30 + 4);  // ASCII, Latin-1 without the division sign, four more
}

}  // namespace
