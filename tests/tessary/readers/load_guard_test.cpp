#include "tessary/readers/load_guard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

#include "tessary/readers/hvPRG.h"

namespace hv::tessary {
namespace {

TEST(GuardedLoadTest, ForeignExceptionsFailTheLoadAsInternalError) {
  FailureReason reason{vberr::kFileNotFound, "from before"};
  EXPECT_FALSE(GuardedLoad(reason, [] { throw std::length_error("basic_string"); }));
  EXPECT_EQ(reason.number, vberr::kInternalError);
  EXPECT_EQ(reason.description, "Internal error: basic_string");
  EXPECT_FALSE(GuardedLoad(reason, [] { throw std::bad_alloc(); }));
  EXPECT_EQ(reason.number, vberr::kOutOfMemory);
  EXPECT_FALSE(GuardedLoad(reason, [] { throw 1; }));  // nothing escapes Load
  EXPECT_EQ(reason.number, vberr::kInternalError);
  EXPECT_TRUE(GuardedLoad(reason, [] {}));
  EXPECT_TRUE(reason.empty());
}

TEST(GuardedLoadTest, ReadFailureKeepsDeviceIo) {
  // Reading this process's memory at address 0 fails with EIO: a read failure of the file
  // layer, not of the reader.
  if (!std::filesystem::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc/self/mem";
  hvPRG prg;
  EXPECT_FALSE(prg.Load("/proc/self/mem"));
  EXPECT_EQ(prg.LastFailure().number, vberr::kDeviceIo) << prg.LastFailure().description;
}

}  // namespace
}  // namespace hv::tessary
