// What a user sees of a C64 name in the folder, and the extension the next level looks for.
#include "tessary/extract/unpack/lynx/lynx_names.h"

#include <gtest/gtest.h>

namespace hv::lynx {
namespace {

TEST(LynxNamesTest, LettersReadAsTheC64ListsThem) {
  EXPECT_EQ(PetsciiToFileText("GAME 1"), "GAME 1");
  // Shifted letters and their duplicate codes still read as letters.
  EXPECT_EQ(PetsciiToFileText("\xC7\xC1\xCD\xC5"), "GAME");
  EXPECT_EQ(PetsciiToFileText("\x67\x61\x6D\x65"), "GAME");
  EXPECT_EQ(PetsciiToFileText("A\xA0"
                              "B"),
            "A B");
  EXPECT_EQ(PetsciiToFileText("\x5C\x5E\x5F"), "\xA3^_");
}

TEST(LynxNamesTest, SeparatorsControlCodesAndGraphicsBecomeUnderscores) {
  EXPECT_EQ(PetsciiToFileText("PART 1/2"), "PART 1_2");
  EXPECT_EQ(PetsciiToFileText("\x05RED\x93\x0D"), "_RED__");
  EXPECT_EQ(PetsciiToFileText("\xE0\xFF\x7E\xA1"), "____");
}

TEST(LynxNamesTest, NoNameIsHiddenOrEmpty) {
  EXPECT_EQ(PetsciiToFileText(""), "_");
  EXPECT_EQ(PetsciiToFileText(".."), "_.");
  EXPECT_EQ(PetsciiToFileText(".HIDDEN"), "_HIDDEN");
}

TEST(LynxNamesTest, ExtensionsFollowTheTypeAsLooseC64FilesCarryIt) {
  LynxEntry entry;
  entry.name = "X";
  const std::pair<char, const char*> cases[] = {
      {'P', "X.prg"}, {'S', "X.seq"}, {'U', "X.usr"}, {'D', "X.del"}};
  for (const auto& [type, name] : cases) {
    entry.type = type;
    EXPECT_EQ(EntryFileName(entry), name);
  }
  entry.type = 'R';
  entry.record_length = 0x2A;
  EXPECT_EQ(EntryFileName(entry), "X.l2A");
  entry.record_length = 0;
  EXPECT_EQ(EntryFileName(entry), "X.l00");
}

}  // namespace
}  // namespace hv::lynx
