#include "common/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using hv::ScopeExit;

TEST(ScopeExitTest, RunsOnceHoweverTheScopeEnds) {
  int runs = 0;
  {
    ScopeExit cleanup([&] { ++runs; });
  }
  EXPECT_EQ(runs, 1);
  try {
    ScopeExit cleanup([&] { ++runs; });
    throw std::runtime_error("left early");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(runs, 2);
}

TEST(ScopeExitTest, ReleaseDismissesIt) {
  int runs = 0;
  {
    ScopeExit cleanup([&] { ++runs; });
    cleanup.release();
  }
  EXPECT_EQ(runs, 0);
}

}  // namespace
