#include "tessary/readers/hvPRG.h"

#include <gtest/gtest.h>

#include <string>

#include "support/bytes.h"
#include "support/temp_dir.h"

namespace hv::tessary {
namespace {

class PRGTest : public ::testing::Test {
 protected:
  std::string Write(std::size_t size, std::uint8_t low, std::uint8_t high) {
    test::Bytes bytes(size, 0xEA);
    if (size > 0) bytes[0] = low;
    if (size > 1) bytes[1] = high;
    const auto path = dir_ / ("f" + std::to_string(++n_) + ".prg");
    test::WriteFile(path, bytes);
    return path.string();
  }
  test::TempDir dir_;
  int n_ = 0;
};

TEST_F(PRGTest, SizeAndAddressTexts) {
  struct Case {
    std::size_t size;
    std::uint8_t low, high;
    const char *file_size, *load_address, *sys;
  };
  const Case cases[] = {
      {3000, 0x01, 0x08, "2.93Kb", "$0801", "(SYS 2049)"},
      {1024, 0x00, 0xC0, "1.00Kb", "$C000", "(SYS 49152)"},
      {128, 0x0A, 0x00, "0.13Kb", "$000A", "(SYS 10)"},
      {65538, 0xFF, 0xFF, "64.00Kb", "$FFFF", "(SYS 65535)"},
      {2, 0x00, 0x00, "0.00Kb", "$0000", "(SYS 0)"},
      {1, 0x10, 0x00, "0.00Kb", "$0010", "(SYS 16)"},  // the missing high byte reads as zero
      {0, 0x00, 0x00, "0.00Kb", "$0000", "(SYS 0)"},
  };
  hvPRG prg;  // one object for all: each Load overwrites the three texts
  for (const auto& c : cases) {
    ASSERT_TRUE(prg.Load(Write(c.size, c.low, c.high))) << c.size;
    EXPECT_EQ(prg.FileSize(), c.file_size) << c.size;
    EXPECT_EQ(prg.LoadAddress(), c.load_address) << c.size;
    EXPECT_EQ(prg.SYSAddress(), c.sys) << c.size;
    EXPECT_TRUE(prg.LastFailure().empty());
  }
}

TEST_F(PRGTest, AFailedLoadKeepsTheTextsItDidNotReach) {
  hvPRG prg;
  EXPECT_EQ(prg.FileSize(), "");
  EXPECT_FALSE(prg.Load((dir_ / "missing.prg").string()));
  EXPECT_EQ(prg.LastFailure().number, vberr::kFileNotFound);
  EXPECT_EQ(prg.LoadAddress(), "");

  ASSERT_TRUE(prg.Load(Write(3000, 0x01, 0x08)));
  EXPECT_FALSE(prg.Load((dir_ / "nowhere" / "x.prg").string()));
  EXPECT_FALSE(prg.Load(dir_.path().string()));
  EXPECT_EQ(prg.LoadAddress(), "$0801");
  EXPECT_EQ(prg.SYSAddress(), "(SYS 2049)");
}

}  // namespace
}  // namespace hv::tessary
