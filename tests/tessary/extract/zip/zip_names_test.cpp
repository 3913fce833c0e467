#include "tessary/extract/unpack/zip/zip_names.h"

#include <gtest/gtest.h>

#include "common/error.h"

namespace hv::zip {
namespace {

TEST(DecodeEntryNameTest, Cp437UnlessTheUtf8FlagIsSet) {
  EXPECT_EQ(DecodeEntryName("GAME.D64", false), "GAME.D64");
  EXPECT_EQ(DecodeEntryName("\x81\x84\xE1\x9C", false), "\xFC\xE4\xDF\xA3");  // ü ä ß £
  EXPECT_EQ(DecodeEntryName("\xC4\xB0", false), "??");  // box drawing: no Windows-1252 form
  EXPECT_EQ(DecodeEntryName("\xC3\xBC", true), "\xFC");
  EXPECT_EQ(DecodeEntryName("\xE2\x82\xAC", true), "\x80");  // euro sign
}

TEST(FlatEntryTargetTest, KeepsOnlyTheLastComponent) {
  const std::string dest = "/work/dest";
  EXPECT_EQ(FlatEntryTarget(dest, "a/b\\c.prg").file_name, "c.prg");
  EXPECT_EQ(FlatEntryTarget(dest, "a/b\\c.prg").path, "/work/dest/c.prg");
  EXPECT_EQ(FlatEntryTarget(dest + "/", "x").path, "/work/dest/x");
  EXPECT_EQ(FlatEntryTarget(dest, "D:game.t64").file_name, "game.t64");
  EXPECT_EQ(FlatEntryTarget(dest, "name. . ").file_name, "name");
  EXPECT_EQ(FlatEntryTarget(dest, "console.prg").file_name, "console.prg");
  EXPECT_THROW(FlatEntryTarget(dest, "con.txt.prg"), Error);  // the stem decides
  EXPECT_EQ(FlatEntryTarget(dest, "COM10").file_name, "COM10");
  EXPECT_EQ(FlatEntryTarget(dest, "a*b|c\"d<e>f").file_name, "a_b_c_d_e_f");
  EXPECT_THROW(FlatEntryTarget(dest, ""), Error);
  EXPECT_THROW(FlatEntryTarget(dest, "x/"), Error);
  EXPECT_THROW(FlatEntryTarget(dest, "LPT1.d64"), Error);
  EXPECT_THROW(FlatEntryTarget(dest, "aux "), Error);
}

TEST(IsFolderNameTest, TrailingSeparatorOfEitherKind) {
  EXPECT_TRUE(IsFolderName("a/"));
  EXPECT_TRUE(IsFolderName("a\\"));
  EXPECT_FALSE(IsFolderName("a"));
  EXPECT_FALSE(IsFolderName(""));
}

}  // namespace
}  // namespace hv::zip
