#include "common/cmdline.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace hv {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLineTest, ProgramNameHasNoEscapes) {
  EXPECT_EQ(SplitCommandLine("C:\\EMU\\EMU.EXE"), (Args{"C:\\EMU\\EMU.EXE"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\My Emu\\\" x"), (Args{"C:\\My Emu\\", "x"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\A B\\e.exe\"x y"), (Args{"C:\\A B\\e.exe", "x", "y"}));
  EXPECT_EQ(SplitCommandLine(" lead"), (Args{"", "lead"}));
  EXPECT_TRUE(SplitCommandLine("").empty());
  EXPECT_TRUE(SplitCommandLine(" \t ").empty());
}

TEST(SplitCommandLineTest, BackslashesBeforeQuotes) {
  EXPECT_EQ(SplitCommandLine("p a\\\\b \"c\\\\\" d\\\"e"), (Args{"p", "a\\\\b", "c\\", "d\"e"}));
  EXPECT_EQ(SplitCommandLine("p a\\\\\\\"b"), (Args{"p", "a\\\"b"}));
  EXPECT_EQ(SplitCommandLine("p a\\\\\\\\\"b c\""), (Args{"p", "a\\\\b c"}));
  EXPECT_EQ(SplitCommandLine("p trailing\\"), (Args{"p", "trailing\\"}));
}

TEST(SplitCommandLineTest, QuotesAndDoubledQuotes) {
  EXPECT_EQ(SplitCommandLine("p \"a b\"c \"\" x"), (Args{"p", "a bc", "", "x"}));
  EXPECT_EQ(SplitCommandLine("p \"ab\"\"c\""), (Args{"p", "ab\"c"}));
  EXPECT_EQ(SplitCommandLine("p a\"b\"\" c d"), (Args{"p", "ab\" c d"}));
  EXPECT_EQ(SplitCommandLine("p \"unterminated arg"), (Args{"p", "unterminated arg"}));
  EXPECT_EQ(SplitCommandLine("p\ta\t\tb"), (Args{"p", "a", "b"}));
}

TEST(SplitCommandLineTest, EmulatorLinesArriveAsWritten) {
  EXPECT_EQ(SplitCommandLine("c:\\emu\\emu.exe -autostart \"c:\\games\\game.d64:game\" -joydev1 4"),
            (Args{"c:\\emu\\emu.exe", "-autostart", "c:\\games\\game.d64:game", "-joydev1", "4"}));
  EXPECT_EQ(SplitCommandLine("E -autotype\" LOAD$0DRUN$0D\""),
            (Args{"E", "-autotype LOAD$0DRUN$0D"}));
  EXPECT_EQ(SplitCommandLine("E /LC:\\G.D64 /J1"), (Args{"E", "/LC:\\G.D64", "/J1"}));
}

TEST(QuoteArgumentTest, PlainTextStaysAsItIs) {
  EXPECT_EQ(QuoteArgument("C:\\GAMES\\X&PWN&.GZ"), "C:\\GAMES\\X&PWN&.GZ");
  EXPECT_EQ(QuoteArgument("P1\\"), "P1\\");
  EXPECT_EQ(QuoteArgument("%PATH%!x!^(),;=<>|"), "%PATH%!x!^(),;=<>|");
  EXPECT_EQ(QuoteArgument("a\\\\b"), "a\\\\b");
}

TEST(QuoteArgumentTest, BlanksQuotesAndEmptyTextAreQuoted) {
  EXPECT_EQ(QuoteArgument(""), "\"\"");
  EXPECT_EQ(QuoteArgument("my game.lha"), "\"my game.lha\"");
  EXPECT_EQ(QuoteArgument("C:\\work dir\\P1\\"), "\"C:\\work dir\\P1\\\\\"");
  EXPECT_EQ(QuoteArgument("a\"b"), "\"a\\\"b\"");
  EXPECT_EQ(QuoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");
  EXPECT_EQ(QuoteArgument("tab\there"), "\"tab\there\"");
  EXPECT_EQ(QuoteArgument("x", true), "\"x\"");
  EXPECT_EQ(QuoteArgument("C:\\P1\\", true), "\"C:\\P1\\\\\"");
}

TEST(QuoteArgumentTest, ProgramNames) {
  EXPECT_EQ(QuoteProgramName("lha.exe"), "lha.exe");
  EXPECT_EQ(QuoteProgramName("C:\\Program Files\\WinZip\\winzip32.exe"),
            "\"C:\\Program Files\\WinZip\\winzip32.exe\"");
  EXPECT_EQ(QuoteProgramName("C:\\WZ\\winzip32.exe", true), "\"C:\\WZ\\winzip32.exe\"");
  EXPECT_THROW(QuoteProgramName(""), std::invalid_argument);
  EXPECT_THROW(QuoteProgramName("a\"b"), std::invalid_argument);
}

// Only the backslashes that end the text are doubled, however many; those inside stay.
TEST(QuoteArgumentTest, EnquoteDoublesOnlyTheClosingBackslashes) {
  EXPECT_EQ(Enquote(""), "\"\"");
  EXPECT_EQ(Enquote("a b"), "\"a b\"");
  EXPECT_EQ(Enquote("\\a b\\c"), "\"\\a b\\c\"");
  EXPECT_EQ(Enquote("a b\\"), "\"a b\\\\\"");
  EXPECT_EQ(Enquote("a b\\\\\\"), "\"a b\\\\\\\\\\\\\"");
  EXPECT_EQ(Enquote("\\"), "\"\\\\\"");
  for (const std::string text : {"x y\\", "x y\\\\", "\\\\\\", "\\ \\"}) {
    EXPECT_EQ(SplitCommandLine("p " + Enquote(text) + " end"), (Args{"p", text, "end"})) << text;
  }
}

// Every argument, however it is made of the characters that matter to the split or to the
// command interpreter, comes back from the split as itself and alone.
TEST(QuoteArgumentTest, EveryArgumentSplitsBackAsItself) {
  const std::string alphabet = "a\\\" \t&|<>^%!(),;=";
  std::vector<std::string> pieces = {""};
  // All texts of up to three characters of the alphabet.
  for (std::size_t start = 0, length = 1; length <= 3; ++length) {
    const std::size_t end = pieces.size();
    for (std::size_t i = start; i < end; ++i) {
      for (char c : alphabet) pieces.push_back(pieces[i] + c);
    }
    start = end;
  }
  for (const std::string& piece : pieces) {
    for (bool always : {false, true}) {
      const std::string line =
          "p " + QuoteArgument(piece, always) + " " + QuoteArgument(piece + "\\", always) + " end";
      ASSERT_EQ(SplitCommandLine(line), (Args{"p", piece, piece + "\\", "end"})) << line;
    }
  }
}

}  // namespace
}  // namespace hv
