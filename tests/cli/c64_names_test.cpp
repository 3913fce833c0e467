// How hv shows and passes on C64 names: the listing's PETSCII text, the autostart name VICE
// turns back into the directory entry's bytes, and the recognition of disk sets.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cli/autostart_name.h"
#include "cli/disk_set.h"
#include "cli/petscii_display.h"
#include "cli/play_program.h"
#include "common/petscii.h"
#include "support/bytes.h"
#include "support/temp_dir.h"
#include "support/tools.h"
#include "tessary/readers/hvD64.h"

namespace hv::cli {
namespace {

// What VICE makes of the name part of `-autostart "image:name"` (autostart.c, charset.c): the
// text after the last ':' is converted to PETSCII, then each '$' with two hex digits becomes
// that byte, the digits A-F counting from 0 as VICE's code counts them.
std::string ViceNameBytes(const std::string& argument) {
  std::string petscii;
  for (const char c : argument.substr(argument.rfind(':') + 1)) {
    petscii += static_cast<char>(AsciiToPetscii(c));
  }
  std::string out;
  for (std::size_t i = 0; i < petscii.size();) {
    if (petscii[i] != '$') {
      out += petscii[i++];
      continue;
    }
    std::uint8_t value = 0;
    int digits = 0;
    std::size_t next = i + 1;
    while (next < petscii.size() && digits++ < 2) {
      value = static_cast<std::uint8_t>(value << 4);
      const char c = petscii[next++];
      if (c >= 'A' && c <= 'F') {
        value = static_cast<std::uint8_t>(value + (c - 'A'));
      } else if (c >= '0' && c <= '9') {
        value = static_cast<std::uint8_t>(value + (c - '0'));
      } else {
        break;
      }
    }
    if (digits < 2) {
      value = '$';
      next = i + 1;
    }
    out += static_cast<char>(value);
    i = next;
  }
  return out;
}

std::string UpToPadding(const std::string& name) {
  return name.substr(0, name.find('\xA0'));
}

TEST(PetsciiTest, ConvertsAsViceDoes) {
  EXPECT_EQ(PetsciiToAscii(0x41), 'a');
  EXPECT_EQ(PetsciiToAscii(0xC1), 'A');
  EXPECT_EQ(PetsciiToAscii(0x61), 'A');  // the screen duplicate of a shifted letter
  EXPECT_EQ(PetsciiToAscii(0xA0), ' ');
  EXPECT_EQ(PetsciiToAscii(0x05), '.');
  EXPECT_EQ(PetsciiToAscii(0xFF), '.');
  EXPECT_EQ(AsciiToPetscii('a'), 0x41);
  EXPECT_EQ(AsciiToPetscii('Z'), 0xDA);
  EXPECT_EQ(AsciiToPetscii('`'), 0x27);
  EXPECT_EQ(AsciiToPetscii('{'), '?');
  EXPECT_EQ(AsciiToPetscii('\t'), '?');
  for (int b = 0x20; b <= 0x5F; ++b) {
    if (b >= 0x41 && b <= 0x5A) continue;
    EXPECT_EQ(AsciiToPetscii(PetsciiToAscii(static_cast<std::uint8_t>(b))), b) << b;
  }
}

TEST(PetsciiDisplayTest, NamesClosedByTheirPaddingAndTypesAsListed) {
  EXPECT_EQ(C64QuotedName("\xC8\x45LLO\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0"),
            "\"Hello\"          ");
  EXPECT_EQ(C64QuotedName("AB\xA0\x43\x44\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0"),
            "\"ab\"cd           ");  // what follows the padding shows after the quote
  EXPECT_EQ(C64QuotedName("SIXTEEN CHARS 16"), "\"sixteen chars 16\"");
  EXPECT_EQ(C64QuotedName(std::string("A\0B", 3)), "\"a?b\"");
  EXPECT_EQ(C64TapeName("GAME\xA0\xA0"), "game");
  EXPECT_EQ(C64TypeColumn(0x82), " prg ");
  EXPECT_EQ(C64TypeColumn(0xC2), " prg<");
  EXPECT_EQ(C64TypeColumn(0x02), "*prg ");
  EXPECT_EQ(C64TypeColumn(0x42), "*prg<");
  EXPECT_EQ(C64TypeColumn(0xA1), " seq ");  // the replace bit does not show
  EXPECT_EQ(C64TypeColumn(0x85), " cbm ");  // a 1581 partition
  EXPECT_EQ(C64TypeColumn(0x86), " ??? ");
}

TEST(AutostartNameTest, EscapesWhatTheArgumentCannotCarry) {
  EXPECT_EQ(ViceAutostartName("\xC8\x45LLO\xA0\xA0"), "Hello");
  // No LOAD name carries a quote, ',', '=' or ':'; '$' and '@' in front ask for something else.
  EXPECT_EQ(ViceAutostartName("SAY\x22HI\x22"), "say?hi?");
  EXPECT_EQ(ViceAutostartName("$MONEY\x22"), "?money?");
  EXPECT_EQ(ViceAutostartName("@A,B=C"), "?a?b?c");
  EXPECT_EQ(ViceAutostartName("1$@"), "1$24@");
  EXPECT_EQ(ViceAutostartName("A:B"), "a?b");          // VICE splits at the last ':'
  EXPECT_EQ(ViceAutostartName("\x05X\xFF"), "$05x?");  // no escape reaches 0xFF
  EXPECT_EQ(ViceAutostartName(std::string("\0A", 2)), "?a");
  EXPECT_EQ(ViceNameBytes("img.d64:1$24@"), "1$@");
}

TEST(AutostartNameTest, ThePatternMustFindTheEntryBeforeAnyOther) {
  EXPECT_TRUE(DriveMatches("?money?", "$MONEY\x22\xA0\xA0"));
  EXPECT_TRUE(DriveMatches("ga*", "GAME"));
  EXPECT_FALSE(DriveMatches("ga?", "GAME"));
  EXPECT_FALSE(DriveMatches("game", "GAMES"));
  EXPECT_TRUE(DriveMatches("1$24@", "1$@"));
  EXPECT_TRUE(DriveMatches("Hi", "\xC8I"));
  // The first PRG after a SEQ file: its own pattern, which finds nothing earlier.
  EXPECT_EQ(ViceAutostartChoice({"NOTES", "$MONEY\x22"}, 1).name, "?money?");
  EXPECT_TRUE(ViceAutostartChoice({"NOTES", "$MONEY\x22"}, 1).exact);
  // "a?b" would load the earlier "a=b": the first file falls back to its position.
  EXPECT_EQ(ViceAutostartChoice({"A,B", "A=B"}, 0).name, "a?b");
  const AutostartChoice later = ViceAutostartChoice({"A=B", "A,B"}, 1);
  EXPECT_FALSE(later.exact);
  const AutostartChoice first = ViceAutostartChoice({"\x22", "X"}, 0);
  EXPECT_EQ(first.name, "?");
  EXPECT_TRUE(first.exact);
}

// Names no one here wrote: cc1541 images with mixed case, shifted and special characters.
TEST(AutostartNameTest, ViceGetsBackTheBytesOfEveryNameCc1541Writes) {
  const auto cc1541 = test::ToolPath(HV_CC1541);
  HV_REQUIRE_TOOL(cc1541);
  test::TempDir dir;
  test::WriteFile(dir / "a.prg", std::string("\x01\x08", 2));
  const std::vector<std::vector<std::string>> images = {
      {"HELLO", "hello", "MiXeD CaSe 64", "Shift#c1#41#dax", "#a0lead"},
      {"a:b,c$d", "say#22hi#22", "pound\\up^[x]", "@home=1+2*3?", "$24 cost %"},
      {"tab#09in", "ctrl#05#1f", "gfx#ff#b0#60", "ab#a0cd", "end   "}};
  int n = 0;
  for (const auto& names : images) {
    const std::string image = (dir / ("set" + std::to_string(++n) + ".d64")).string();
    std::vector<std::string> args = {"-q"};
    for (const std::string& name : names) {
      for (const char* a : {"-f", name.c_str(), "-N", "-w", "a.prg"}) args.push_back(a);
    }
    args.push_back(image);
    ASSERT_EQ(test::Run(cc1541, args, dir.path().string()).exit_code, 0) << names[0];
    tessary::hvD64 d64;
    ASSERT_TRUE(d64.Load(image));
    ASSERT_EQ(d64.Entries()->All().size(), names.size());
    for (const auto& e : d64.Entries()->All()) {
      const std::string want = UpToPadding(e->NameBytes());
      const std::string passed = ViceAutostartName(e->NameBytes());
      const std::string got = ViceNameBytes("game.d64:" + passed);
      ASSERT_EQ(got.size(), want.size()) << passed;
      for (std::size_t i = 0; i < want.size(); ++i) {
        // Only a byte VICE cannot be given at all comes back as the wildcard.
        if (got[i] == '?' && want[i] != '?') {
          const auto b = static_cast<std::uint8_t>(want[i]);
          const bool special =
              b == ':' || b == '"' || b == ',' || b == '=' || (i == 0 && (b == '$' || b == '@'));
          EXPECT_TRUE(special || b == 0 || (b >> 4) > 9 || (b & 0x0F) > 9) << passed;
        } else {
          EXPECT_EQ(got[i], want[i]) << passed << " at " << i;
        }
      }
    }
  }
}

TEST(DiskSetTest, RecognisesTheUsualDiskNumbers) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(DiskSetOrder({"Game (Disk 2).d64", "Game (Disk 1).d64"}),
            (Names{"Game (Disk 1).d64", "Game (Disk 2).d64"}));
  EXPECT_EQ(DiskSetOrder({"game side b.D64", "game side a.d64"}),
            (Names{"game side a.d64", "game side b.D64"}));
  EXPECT_EQ(DiskSetOrder({"Epic (3 of 3).d64", "Epic (1 of 3).d64", "Epic (2 of 3).d64"}),
            (Names{"Epic (1 of 3).d64", "Epic (2 of 3).d64", "Epic (3 of 3).d64"}));
  EXPECT_EQ(DiskSetOrder({"run_2.d64", "run_1.d64"}), (Names{"run_1.d64", "run_2.d64"}));
  EXPECT_EQ(DiskSetOrder({"Game disk10.d64", "Game disk2.d64", "Game disk1.d64"}),
            (Names{"Game disk1.d64", "Game disk2.d64", "Game disk10.d64"}));
  // TOSEC: disk, then side.
  EXPECT_EQ(
      DiskSetOrder({"G (1987)(M)(Disk 2 of 2)(Side A).d64", "G (1987)(M)(Disk 1 of 2)(Side B).d64",
                    "G (1987)(M)(Disk 1 of 2)(Side A).d64"}),
      (Names{"G (1987)(M)(Disk 1 of 2)(Side A).d64", "G (1987)(M)(Disk 1 of 2)(Side B).d64",
             "G (1987)(M)(Disk 2 of 2)(Side A).d64"}));
  EXPECT_EQ(DiskSetOrder({"Big (Disk 2).d81", "Big (Disk 1).d81"}),
            (Names{"Big (Disk 1).d81", "Big (Disk 2).d81"}));
}

TEST(DiskSetTest, ArchivesOfOneDiskEachFormASetWithTheirSiblings) {
  using Names = std::vector<std::string>;
  const Names folder = {"Epic (Disk 2 of 2).zip", "Epic (Disk 1 of 2).zip",
                        "Other (Disk 1 of 2).zip", "Epic (Disk 1 of 2).nfo", "Epic.zip"};
  EXPECT_EQ(ArchiveSetOf("Epic (Disk 2 of 2).zip", folder),
            (Names{"Epic (Disk 1 of 2).zip", "Epic (Disk 2 of 2).zip"}));
  EXPECT_FALSE(ArchiveSetOf("Other (Disk 1 of 2).zip", folder));  // disk 2 is missing
  EXPECT_FALSE(ArchiveSetOf("Epic.zip", folder));
  EXPECT_FALSE(ArchiveSetOrder({"Epic (Disk 1).d64", "Epic (Disk 2).d64"}));
}

TEST(PlayProgramTest, JoystickTagsInTheWaysCollectionsWriteThem) {
  EXPECT_EQ(JoystickPortTag("Jet (J1).zip"), 1);
  EXPECT_EQ(JoystickPortTag("jet_j2.d64"), 2);
  EXPECT_EQ(JoystickPortTag("[J2] Jet.t64"), 2);
  EXPECT_EQ(JoystickPortTag("Jet_j1"), 1);
  EXPECT_EQ(JoystickPortTag("Jet_j12.d64"), 0);
  EXPECT_EQ(JoystickPortTag("Jet (J3).d64"), 0);
  EXPECT_EQ(JoystickPortTag("Jet.d64"), 0);
}

TEST(DiskSetTest, OtherGroupsOfFilesAreNoSet) {
  EXPECT_FALSE(DiskSetOrder({"Alpha.d64", "Beta.d64"}));
  EXPECT_FALSE(DiskSetOrder({"Alpha (Disk 1).d64", "Beta (Disk 2).d64"}));
  EXPECT_FALSE(DiskSetOrder({"Game (Disk 2).d64", "Game (Disk 3).d64"}));  // no disk 1
  EXPECT_FALSE(DiskSetOrder({"Game (Disk 1).d64", "Game (Disk 1).D64"}));
  EXPECT_FALSE(DiskSetOrder({"Game (Disk 1).d64", "Game (Side 2).d64"}));
  EXPECT_FALSE(DiskSetOrder({"Game (Disk 1).t64", "Game (Disk 2).t64"}));
  EXPECT_FALSE(DiskSetOrder({"Inside 1.d64", "Inside 2.d64"}));  // "side" inside a word
  EXPECT_FALSE(DiskSetOrder({"Game (Disk 1).d64"}));
}

TEST(DiskSetTest, FliplistIsReadTopToBottom) {
  // VICE 3.6 and later add each line at the bottom of the list.
  EXPECT_EQ(FliplistText({"/w/d1.d64", "/w/d2.d64", "/w/d3.d64"}),
            "# Vice fliplist file\r\n\r\nUNIT 8\r\n/w/d1.d64\r\n/w/d2.d64\r\n/w/d3.d64\r\n");
  EXPECT_EQ(PlaylistText({"d1.d64", "d2.d64"}), "d1.d64\r\nd2.d64\r\n");
}

}  // namespace
}  // namespace hv::cli
