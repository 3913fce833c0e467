#include "common/text.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(Cp1252Test, EveryByteSurvivesUtf8AndUtf16RoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
}

TEST(Cp1252Test, MapsTheWindowsRangeAndKeepsUndefinedBytesAsControls) {
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");      // undefined: U+0081
  EXPECT_EQ(Cp1252ToUtf8("\x9D"), "\xC2\x9D");
  EXPECT_EQ(Cp1252ToUtf8("\xA0"), "\xC2\xA0");
  EXPECT_EQ(Cp1252ToUtf8(std::string("A\0B", 3)), std::string("A\0B", 3));
}

TEST(Cp1252Test, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xE2\x98\x83"), "?");  // snowman
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");          // cut sequence
  EXPECT_EQ(Utf8ToCp1252("\xC0\x80"), "?");      // overlong NUL
  EXPECT_EQ(Utf16ToCp1252(u"\U0001F600x"), "?x");
}

TEST(TrimTest, OnlySpacesAreTrimmed) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("    "), "");
  EXPECT_EQ(TrimSpaces(std::string_view("\0a \0", 4)), std::string_view("\0a \0", 4));
  EXPECT_EQ(TrimTrailingSpaces(" a "), " a");
}

}  // namespace
}  // namespace hv
