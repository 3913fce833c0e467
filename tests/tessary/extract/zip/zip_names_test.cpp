#include "tessary/extract/unpack/zip/zip_names.h"
#include "tessary/extract/unpack/flat_folder.h"

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
  EXPECT_EQ(unpack::FlatEntryTarget(dest, "a/b\\c.prg", "zip archive").file_name, "c.prg");
  EXPECT_EQ(unpack::FlatEntryTarget(dest, "a/b\\c.prg", "zip archive").path, "/work/dest/c.prg");
  EXPECT_EQ(unpack::FlatEntryTarget(dest + "/", "x", "zip archive").path, "/work/dest/x");
  EXPECT_EQ(unpack::FlatEntryTarget(dest, "D:game.t64", "zip archive").file_name, "game.t64");
  EXPECT_EQ(unpack::FlatEntryTarget(dest, "name. . ", "zip archive").file_name, "name");
  EXPECT_EQ(unpack::FlatEntryTarget(dest, "console.prg", "zip archive").file_name, "console.prg");
  EXPECT_THROW(unpack::FlatEntryTarget(dest, "con.txt.prg", "zip archive"),
               Error);  // the stem decides
  EXPECT_EQ(unpack::FlatEntryTarget(dest, "COM10", "zip archive").file_name, "COM10");
  EXPECT_EQ(unpack::FlatEntryTarget(dest, "a*b|c\"d<e>f", "zip archive").file_name, "a_b_c_d_e_f");
  EXPECT_THROW(unpack::FlatEntryTarget(dest, "", "zip archive"), Error);
  EXPECT_THROW(unpack::FlatEntryTarget(dest, "x/", "zip archive"), Error);
  EXPECT_THROW(unpack::FlatEntryTarget(dest, "LPT1.d64", "zip archive"), Error);
  EXPECT_THROW(unpack::FlatEntryTarget(dest, "aux ", "zip archive"), Error);
}

TEST(IsFolderNameTest, TrailingSeparatorOfEitherKind) {
  EXPECT_TRUE(unpack::IsFolderName("a/"));
  EXPECT_TRUE(unpack::IsFolderName("a\\"));
  EXPECT_FALSE(unpack::IsFolderName("a"));
  EXPECT_FALSE(unpack::IsFolderName(""));
}

}  // namespace
}  // namespace hv::zip
