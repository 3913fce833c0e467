// Outside tools run to their end, and a tool that writes more than its bound is stopped there
// instead of filling the disk.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/process.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string WriteZeros(const fs::path& file, int blocks) {
  return "dd if=/dev/zero of=" + file.string() + " bs=4096 count=" + std::to_string(blocks);
}

TEST(ToolProcess, AToolWritingPastItsBoundIsStoppedThere) {
  hv::test::TempDir dir;
  const auto tools = hv::platform::MakeToolProcessService(64 * 1024);
  tools->RunAndWait(WriteZeros(dir / "big", 100), hv::platform::kWindowHidden);
  EXPECT_EQ(fs::file_size(dir / "big"), 64u * 1024);
  // Files within the bound are written whole, each on its own.
  tools->RunAndWait(WriteZeros(dir / "small", 4), hv::platform::kWindowHidden);
  tools->RunAndWait(WriteZeros(dir / "exact", 16), hv::platform::kWindowHidden);
  EXPECT_EQ(fs::file_size(dir / "small"), 16u * 1024);
  EXPECT_EQ(fs::file_size(dir / "exact"), 64u * 1024);
}

TEST(ToolProcess, TheSystemBoundLeavesRoomForAnyGame) {
  hv::test::TempDir dir;
  hv::platform::SystemToolProcessService().RunAndWait(WriteZeros(dir / "disk", 256),
                                                      hv::platform::kWindowHidden);
  EXPECT_EQ(fs::file_size(dir / "disk"), 1024u * 1024);
}

}  // namespace
