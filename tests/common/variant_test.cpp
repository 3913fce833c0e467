#include "common/variant.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/error.h"

namespace hv {
namespace {

int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.Number();
  }
  return 0;
}

TEST(VariantTest, AdditionKeepsEmptyUntilSomethingIsAdded) {
  EXPECT_TRUE(Add(Variant(), Variant(std::int32_t{0})).value() == Variant::Value(std::int32_t{0}));
  EXPECT_EQ(Add(Variant(), Variant()), Variant(std::int16_t{0}));
  EXPECT_EQ(Add(Variant(), Variant(std::int32_t{30})), Variant(std::int32_t{30}));
}

TEST(VariantTest, AdditionWidensInsteadOfOverflowing) {
  EXPECT_EQ(Add(Variant(std::int16_t{32767}), Variant(std::int16_t{1})),
            Variant(std::int32_t{32768}));
  EXPECT_EQ(Add(Variant(std::int32_t{2147483647}), Variant(std::int32_t{1})),
            Variant(2147483648.0));
}

TEST(VariantTest, ToLongFollowsVisualBasicConversion) {
  EXPECT_EQ(Variant("  42 ").ToLong(), 42);
  EXPECT_EQ(Variant("2.5").ToLong(), 2);  // half to even
  EXPECT_EQ(Variant("3.5").ToLong(), 4);
  EXPECT_EQ(Variant("&HFF").ToLong(), 255);
  EXPECT_EQ(Variant(true).ToLong(), -1);
  EXPECT_EQ(Variant().ToLong(), 0);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant("abc").ToLong(); }), vberr::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant("").ToLong(); }), vberr::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant("3000000000").ToLong(); }), vberr::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant(Variant::Null{}).ToLong(); }), 94);
}

TEST(VariantTest, ToTextWritesNumbersAndBooleansAsVisualBasicDoes) {
  EXPECT_EQ(Variant(std::int32_t{-5}).ToText(), "-5");
  EXPECT_EQ(Variant(2147483648.0).ToText(), "2147483648");
  EXPECT_EQ(Variant(0.5).ToText(), "0.5");
  EXPECT_EQ(Variant(false).ToText(), "False");
  EXPECT_EQ(Variant().ToText(), "");
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant(Variant::Null{}).ToText(); }), 94);
}

}  // namespace
}  // namespace hv
