#include "common/error.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace hv {
namespace {

FailureReason FailureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (...) {
    return CaughtFailure();
  }
  return {};
}

TEST(CaughtFailureTest, OurErrorKeepsItsNumberAndText) {
  const FailureReason r = FailureOf([] { throw Error(vberr::kDeviceIo, "read failed"); });
  EXPECT_EQ(r.number, vberr::kDeviceIo);
  EXPECT_EQ(r.description, "read failed");
}

TEST(CaughtFailureTest, ForeignExceptionsAreInternalErrors) {
  const FailureReason memory = FailureOf([] { throw std::bad_alloc(); });
  EXPECT_EQ(memory.number, vberr::kOutOfMemory);
  EXPECT_EQ(memory.description, "Out of memory");
  const FailureReason logic = FailureOf([] { throw std::out_of_range("vector index"); });
  EXPECT_EQ(logic.number, vberr::kInternalError);
  EXPECT_EQ(logic.description, "Internal error: vector index");
  const FailureReason silent = FailureOf([] { throw std::runtime_error(""); });
  EXPECT_EQ(silent.number, vberr::kInternalError);
  EXPECT_EQ(silent.description, "Internal error");
  const FailureReason unknown = FailureOf([] { throw 42; });
  EXPECT_EQ(unknown.number, vberr::kInternalError);
  EXPECT_EQ(unknown.description, "Internal error");
}

TEST(VbErrorTextTest, NamedNumbersHaveVisualBasicsTexts) {
  EXPECT_STREQ(VbErrorText(vberr::kOutOfMemory), "Out of memory");
  EXPECT_STREQ(VbErrorText(vberr::kInternalError), "Internal error");
  EXPECT_STREQ(VbErrorText(vberr::kDeviceUnavailable), "Device unavailable");
  EXPECT_STREQ(VbErrorText(vberr::kDiskNotReady), "Disk not ready");
  EXPECT_STREQ(VbErrorText(vberr::kInvalidUseOfNull), "Invalid use of Null");
  EXPECT_STREQ(VbErrorText(vberr::kObjectDoesntSupport),
               "Object doesn't support this property or method");
  EXPECT_EQ(Error(vberr::kOutOfMemory).Description(), "Out of memory");
  EXPECT_STREQ(VbErrorText(1000), "Application-defined or object-defined error");
}

}  // namespace
}  // namespace hv
