#include "tessary/readers/hvP00.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "support/tools.h"
#include "tessary/readers/image_builder.h"

namespace hv::tessary {
namespace {

using test::Bytes;
using test::Raw;

class P00Test : public ::testing::Test {
 protected:
  // A container: the signature field (7 bytes), a NUL, the 16-byte name field, two bytes,
  // then `data` bytes of data.
  std::string Write(const std::string& signature, const Bytes& name, std::size_t data,
                    const std::string& file = "game.p00") {
    Bytes bytes = Raw(signature);
    bytes.resize(8, 0);
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.resize(26 + data, 0x42);
    const auto path = dir_ / file;
    test::WriteFile(path, bytes);
    return path.string();
  }
  test::TempDir dir_;
};

TEST_F(P00Test, CleanNulsDropsTrailingNulsAndBlanksTheOthers) {
  EXPECT_EQ(hvP00::CleanNuls(std::string("A\0B\0\0", 5)), "A B");
  EXPECT_EQ(hvP00::CleanNuls(std::string("\0\0X", 3)), "  X");
  EXPECT_EQ(hvP00::CleanNuls(std::string(16, '\0')), "");
  EXPECT_EQ(hvP00::CleanNuls("SPACES  "), "SPACES  ");
  EXPECT_EQ(hvP00::CleanNuls(""), "");
}

TEST_F(P00Test, ReadsSignatureNameAndDataSize) {
  hvP00 p00;
  ASSERT_TRUE(p00.Load(Write("C64File", test::PaddedName("ABCDEFGH", 0x00), 1024)));
  EXPECT_TRUE(p00.LastFailure().empty());
  EXPECT_EQ(p00.Signature(), "C64File");
  EXPECT_EQ(p00.Filename(), "ABCDEFGH");
  EXPECT_EQ(p00.FileSize(), "1.00Kb");

  ASSERT_TRUE(p00.Load(Write("C64File", test::PaddedName(std::string("A\0B", 3), 0x00), 0)));
  EXPECT_EQ(p00.Filename(), "A B");
  EXPECT_EQ(p00.FileSize(), "0.00Kb");

  ASSERT_TRUE(p00.Load(Write(std::string("C64\0ile", 7), test::PaddedName("SPACED", ' '), 3)));
  EXPECT_EQ(p00.Signature(), "C64 ile");
  EXPECT_EQ(p00.Filename(), "SPACED          ");  // spaces are not trimmed
  EXPECT_EQ(p00.FileSize(), "0.00Kb");

  ASSERT_TRUE(p00.Load(Write("C64File", test::PaddedName("\xC1\xA0", 0xA0), 128)));
  EXPECT_EQ(p00.Filename(), "\xC1" + std::string(15, '\xA0'));  // 0xA0 is kept as it is
  EXPECT_EQ(p00.FileSize(), "0.13Kb");
}

TEST_F(P00Test, ShortFilesGiveNegativeSizesAndZeroHeaderBytes) {
  hvP00 p00;
  const auto empty = dir_ / "empty.p01";
  test::WriteFile(empty, Bytes{});
  ASSERT_TRUE(p00.Load(empty.string()));
  EXPECT_EQ(p00.FileSize(), "-0.03Kb");
  EXPECT_EQ(p00.Signature(), "");
  EXPECT_EQ(p00.Filename(), "");

  const auto cut = dir_ / "cut.p00";
  test::WriteFile(cut, Raw(std::string("C64File\0NA", 10)));
  ASSERT_TRUE(p00.Load(cut.string()));
  EXPECT_EQ(p00.Filename(), "NA");
  EXPECT_EQ(p00.FileSize(), "-0.02Kb");
}

TEST_F(P00Test, AFailedLoadKeepsThePreviousTexts) {
  hvP00 p00;
  ASSERT_TRUE(p00.Load(Write("C64File", test::PaddedName("KEEP", 0x00), 1050 - 26)));
  EXPECT_EQ(p00.FileSize(), "1.00Kb");
  EXPECT_FALSE(p00.Load((dir_ / "missing.p00").string()));
  EXPECT_EQ(p00.LastFailure().number, vberr::kFileNotFound);
  EXPECT_EQ(p00.Filename(), "KEEP");
  EXPECT_EQ(p00.FileSize(), "1.00Kb");
}

// Containers made by cbmconvert, from a program file and from a disk image.
TEST_F(P00Test, ReadsContainersMadeByCbmconvert) {
  const auto cbmconvert = test::ToolPath(HV_CBMCONVERT);
  HV_REQUIRE_TOOL(cbmconvert);
  Bytes program = {0x01, 0x08};
  program.resize(2050, 0x60);
  test::WriteFile(dir_ / "hello.prg", program);
  const auto run = test::Run(cbmconvert, {"-v0", "-P", "-n", "hello.prg"}, dir_.path().string());
  ASSERT_EQ(run.exit_code, 0) << run.err;
  hvP00 p00;
  ASSERT_TRUE(p00.Load((dir_ / "hello.p00").string())) << p00.LastFailure().description;
  EXPECT_EQ(p00.Signature(), "C64File");
  // cbmconvert pads with 0xA0, which is not cleaned.
  EXPECT_EQ(p00.Filename(), "HELLO" + std::string(11, '\xA0'));
  EXPECT_EQ(p00.FileSize(), "2.00Kb");

  const auto cc1541 = test::ToolPath(HV_CC1541);
  HV_REQUIRE_TOOL(cc1541);
  ASSERT_EQ(test::Run(cc1541, {"-q", "-n", "src", "-f", "intro", "-w", "hello.prg", "src.d64"},
                      dir_.path().string())
                .exit_code,
            0);
  const auto out = dir_ / "out";
  std::filesystem::create_directory(out);
  ASSERT_EQ(test::Run(cbmconvert, {"-v0", "-P", "-d", "../src.d64"}, out.string()).exit_code, 0);
  ASSERT_TRUE(p00.Load((out / "intro.p00").string())) << p00.LastFailure().description;
  EXPECT_EQ(p00.Filename(), "INTRO" + std::string(11, '\xA0'));
  EXPECT_EQ(p00.FileSize(), "2.00Kb");
}

}  // namespace
}  // namespace hv::tessary
