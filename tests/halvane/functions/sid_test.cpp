#include <gtest/gtest.h>
#include <sys/stat.h>

#include "halvane/functions/hvFunctions.h"
#include "halvane/functions/scripted_ui.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace {

using hv::halvane::hvFunctions;
using hv::test::Bytes;

// A PSID header with the given song numbers and texts, followed by a little music data.
Bytes Psid(std::uint16_t songs, std::uint16_t start, const std::string& name,
           const std::string& author = "AUTHOR", const std::string& copyright = "1987 X") {
  Bytes b(0x76 + 16, 0);
  hv::test::Put(b, 0, "PSID");
  b[5] = 2;
  b[7] = 0x7C;
  b[0x0E] = static_cast<std::uint8_t>(songs >> 8);
  b[0x0F] = static_cast<std::uint8_t>(songs & 0xFF);
  b[0x10] = static_cast<std::uint8_t>(start >> 8);
  b[0x11] = static_cast<std::uint8_t>(start & 0xFF);
  hv::test::Put(b, 0x16, name);
  hv::test::Put(b, 0x36, author);
  hv::test::Put(b, 0x56, copyright);
  for (std::size_t i = 0x76; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i);
  return b;
}

class SidTest : public ::testing::Test {
 protected:
  hv::test::ScriptedUi ui;
  hvFunctions f{ui};
  hv::test::TempDir dir;
  std::string file = (dir / "TUNE.SID").string();
};

TEST_F(SidTest, GetSidInfoReturnsPaddedTextsAndNumbers) {
  hv::test::WriteFile(file, Psid(0x0100, 3, "ABC", "ROB", "1986 Y"));
  std::string name, author, copyright;
  std::int16_t total = -1, start = -1;
  ASSERT_TRUE(f.GetSidInfo(file, name, author, copyright, total, start));
  EXPECT_EQ(name, std::string("ABC") + std::string(29, '\0'));
  EXPECT_EQ(author.substr(0, 4), std::string("ROB\0", 4));
  EXPECT_EQ(copyright.size(), 32u);
  EXPECT_EQ(total, 256);
  EXPECT_EQ(start, 3);
  total = start = 0;
  ASSERT_TRUE(f.GetSidSongInfo(file, total, start));
  EXPECT_EQ(total, 256);
  EXPECT_EQ(start, 3);
  EXPECT_EQ(f.GetSidAuthor(file), "ROB" + std::string(29, '\0'));
}

TEST_F(SidTest, OversizedSongCountFailsAfterTheTexts) {
  hv::test::WriteFile(file, Psid(0x8000, 1, "NAME"));
  std::string name = "n", author = "a", copyright = "c";
  std::int16_t total = 7, start = 8;
  EXPECT_FALSE(f.GetSidInfo(file, name, author, copyright, total, start));
  EXPECT_EQ(name.substr(0, 4), "NAME");
  EXPECT_EQ(total, 7);
  EXPECT_EQ(start, 8);
  EXPECT_FALSE(f.GetSidSongInfo(file, total, start));
}

TEST_F(SidTest, OtherFilesAreRefusedAndLeftAlone) {
  const std::string text = std::string(0x40, 'T') + "WRITTEN BY SOMEONE" + std::string(60, '.');
  hv::test::WriteFile(file, text);
  std::string name = "keep", author, copyright;
  std::int16_t total = 5, start = 6, song = 2;
  EXPECT_FALSE(f.GetSidInfo(file, name, author, copyright, total, start));
  EXPECT_EQ(name, "keep");
  EXPECT_EQ(total, 5);
  EXPECT_FALSE(f.GetSidSongInfo(file, total, start));
  EXPECT_FALSE(f.SaveDefaultSidSong(file, song));
  EXPECT_EQ(hv::test::ReadFile(file), Bytes(text.begin(), text.end()));
  // The author field is read without looking at the magic.
  EXPECT_EQ(f.GetSidAuthor(file), text.substr(0x36, 32));
}

TEST_F(SidTest, SaveDefaultSidSongStoresTheStartSong) {
  const Bytes original = Psid(10, 1, "X");
  hv::test::WriteFile(file, original);
  std::int16_t song = 256;
  ASSERT_TRUE(f.SaveDefaultSidSong(file, song));
  Bytes expected = original;
  expected[0x10] = 1;
  expected[0x11] = 0;
  EXPECT_EQ(hv::test::ReadFile(file), expected);
  song = 3;
  ASSERT_TRUE(f.SaveDefaultSidSong(file, song));
  expected[0x10] = 0;
  expected[0x11] = 3;
  EXPECT_EQ(hv::test::ReadFile(file), expected);
  for (std::int16_t bad : {std::int16_t{300}, std::int16_t{-1}}) {
    EXPECT_FALSE(f.SaveDefaultSidSong(file, bad));
    EXPECT_EQ(hv::test::ReadFile(file), expected);
  }
}

TEST_F(SidTest, SaveDefaultSidSongRefusesReadOnlyMissingAndShortFiles) {
  const Bytes original = Psid(10, 1, "X");
  hv::test::WriteFile(file, original);
  ::chmod(file.c_str(), 0444);
  std::int16_t song = 2;
  EXPECT_FALSE(f.SaveDefaultSidSong(file, song));
  EXPECT_EQ(hv::test::ReadFile(file), original);

  const std::string missing = (dir / "NONE.SID").string();
  EXPECT_FALSE(f.SaveDefaultSidSong(missing, song));
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_EQ(f.GetSidAuthor(missing), "");

  // A file that starts like a header but ends before it is complete is not grown.
  const std::string shorty = (dir / "SHORT.SID").string();
  const Bytes cut(original.begin(), original.begin() + 0x40);
  hv::test::WriteFile(shorty, cut);
  EXPECT_FALSE(f.SaveDefaultSidSong(shorty, song));
  EXPECT_EQ(hv::test::ReadFile(shorty), cut);
  std::int16_t total = 0, start = 0;
  EXPECT_FALSE(f.GetSidSongInfo(shorty, total, start));
  // The author field runs past the end: the missing bytes read as NUL.
  EXPECT_EQ(f.GetSidAuthor(shorty),
            std::string("AUTHOR") + std::string(4, '\0') + std::string(22, '\0'));
}

}  // namespace
