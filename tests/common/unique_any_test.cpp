#include "common/unique_any.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Every value the owner under test closed, in order.
std::vector<int> closed;

void RecordClose(int value) noexcept {
  closed.push_back(value);
}

// Like a descriptor: -1 is none, so 0 is a value to own.
using Owned = hv::UniqueAny<int, &RecordClose, -1>;

class UniqueAnyTest : public ::testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(UniqueAnyTest, ClosesEachValidValueExactlyOnce) {
  {
    const Owned none;
    const Owned zero(0);
    const Owned three(3);
    EXPECT_FALSE(none);
    EXPECT_TRUE(zero);
  }
  EXPECT_EQ(closed, (std::vector<int>{3, 0}));
}

TEST_F(UniqueAnyTest, PutClosesTheOldValueButAddressofDoesNot) {
  {
    Owned owned(1);
    int* slot = owned.put();
    EXPECT_EQ(closed, std::vector<int>{1});
    EXPECT_EQ(*slot, -1);  // the API sees an empty slot
    *slot = 2;
    *owned.addressof() = 5;  // an in-out parameter replaced what it was given
    EXPECT_EQ(closed, std::vector<int>{1});
    EXPECT_EQ(owned.get(), 5);
  }
  EXPECT_EQ(closed, (std::vector<int>{1, 5}));
}

TEST_F(UniqueAnyTest, ReleaseHandsOverAndResetClosesThePrevious) {
  {
    Owned owned(4);
    EXPECT_EQ(owned.release(), 4);
    EXPECT_FALSE(owned);
    owned.reset(6);
    owned.reset(7);
    EXPECT_EQ(closed, std::vector<int>{6});
  }
  EXPECT_EQ(closed, (std::vector<int>{6, 7}));
}

TEST_F(UniqueAnyTest, MovingTransfersOwnership) {
  {
    Owned from(1);
    Owned to(std::move(from));
    EXPECT_FALSE(from);
    to = Owned(2);  // the value it held goes
    EXPECT_EQ(closed, std::vector<int>{1});
    Owned& same = to;
    to = std::move(same);
    EXPECT_EQ(to.get(), 2);
  }
  EXPECT_EQ(closed, (std::vector<int>{1, 2}));
}

// Pointer kinds default to null as none.
int pointer_closes = 0;
void ClosePointer(const char*) noexcept {
  ++pointer_closes;
}

TEST_F(UniqueAnyTest, NullMeansNoneForPointers) {
  static const char text[] = "x";
  pointer_closes = 0;
  {
    const hv::UniqueAny<const char*, &ClosePointer> none, some(text);
    EXPECT_FALSE(none);
    EXPECT_EQ(some.get(), text);
  }
  EXPECT_EQ(pointer_closes, 1);
}

}  // namespace
