#include "common/cmdline.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace hv
