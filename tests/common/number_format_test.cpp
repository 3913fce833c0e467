#include "common/number_format.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(FormatKilobytesTest, RoundsHalfAwayFromZeroWithTwoDecimals) {
  EXPECT_EQ(FormatKilobytes(1024, '.'), "1.00Kb");
  EXPECT_EQ(FormatKilobytes(1, '.'), "0.00Kb");
  EXPECT_EQ(FormatKilobytes(128, '.'), "0.13Kb");  // 0.125 exactly
  EXPECT_EQ(FormatKilobytes(3000, '.'), "2.93Kb");
  EXPECT_EQ(FormatKilobytes(0, '.'), "0.00Kb");
  EXPECT_EQ(FormatKilobytes(174848, ','), "170,75Kb");
  EXPECT_EQ(FormatKilobytes(1024LL * 1024 * 99999, '.'), "102398976.00Kb");
}

TEST(FormatKilobytesTest, NegativeValuesCarryAMinusUnlessTheyRoundToZero) {
  EXPECT_EQ(FormatKilobytes(-26, '.'), "-0.03Kb");
  EXPECT_EQ(FormatKilobytes(-128, '.'), "-0.13Kb");
  EXPECT_EQ(FormatKilobytes(-1, '.'), "0.00Kb");
}

TEST(HexUpperTest, PadsWithZeros) {
  EXPECT_EQ(HexUpper(0x801, 4), "0801");
  EXPECT_EQ(HexUpper(0xA, 2), "0A");
  EXPECT_EQ(HexUpper(0xFFFF, 4), "FFFF");
}

}  // namespace
}  // namespace hv
