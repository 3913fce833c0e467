#include "platform/binary_file.h"

#include <gtest/gtest.h>

#include <array>
#include <span>

#include "support/bytes.h"
#include "support/temp_dir.h"

namespace hv::platform {
namespace {

// An archive with no entries asks for zero bytes through a buffer that has no address.
TEST(BinaryFileTest, ReadsIntoAnEmptyBufferWithoutTouchingIt) {
  test::TempDir dir;
  test::WriteFile(dir / "f.bin", test::Bytes{1, 2, 3});
  auto file = BinaryFile::OpenRead((dir / "f.bin").string());
  file.ReadAt(0, std::span<std::uint8_t>());
  file.ReadAt(10, std::span<std::uint8_t>());
  std::array<std::uint8_t, 5> bytes{9, 9, 9, 9, 9};
  file.ReadAt(1, bytes);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 5>{2, 3, 0, 0, 0}));
}

}  // namespace
}  // namespace hv::platform
