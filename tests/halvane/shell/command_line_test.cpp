#include "halvane/shell/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cmdline.h"

namespace hv::halvane {
namespace {

TEST(CommandLineTest, LoweringSparesPathsOnlyWhereCaseMatters) {
  CommandLine line;
  line.Path("/Games/A.D64").Text(" /J1 ").Path("C:\\X");
  EXPECT_EQ(line.Render(false, kWindowsPathRules), "/Games/A.D64 /J1 C:\\X");
  EXPECT_EQ(line.Render(true, kWindowsPathRules), "/games/a.d64 /j1 c:\\x");
  EXPECT_EQ(line.Render(true, kPosixPathRules), "/Games/A.D64 /j1 C:\\X");
}

// Without short forms a path with a blank is quoted, unless the line already quotes it; split
// the Windows way, each path stays one argument.
TEST(CommandLineTest, PathsWithBlanksStayWholeWithoutShortForms) {
  CommandLine line;
  line.Path("/My Games/emu").Text(" /L").Path("/My Games/a b.d64").Text(" \"").Path("/x y/");
  line.Text("\" ").Path("/plain").Text(" ").Path("/tab\there\\").Text(" ").Path("/a b\\\\");
  EXPECT_EQ(line.Render(true, kPosixPathRules),
            "\"/My Games/emu\" /l\"/My Games/a b.d64\" \"/x y/\" /plain \"/tab\there\\\\\" "
            "\"/a b\\\\\\\\\"");
  EXPECT_EQ(line.Render(false, kWindowsPathRules),
            "/My Games/emu /L/My Games/a b.d64 \"/x y/\" /plain /tab\there\\ /a b\\\\");
  EXPECT_EQ(SplitCommandLine(line.Render(true, kPosixPathRules)),
            (std::vector<std::string>{"/My Games/emu", "/l/My Games/a b.d64", "/x y/", "/plain",
                                      "/tab\there\\", "/a b\\\\"}));
}

TEST(CommandLineTest, NumberText) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-32768), "-32768");
  EXPECT_EQ(NumberText(2147483647), "2147483647");
}

}  // namespace
}  // namespace hv::halvane
