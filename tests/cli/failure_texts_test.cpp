// hv's own failure messages, for the failures a test cannot bring about through the program
// (a full disk) and the file-system answers behind "cannot run".

#include "cli/failure_texts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/console_text.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace hv::cli {
namespace {

namespace fs = std::filesystem;

TEST(FailureTextsTest, ExtractReasonTextSaysTheDiskIsFullWithBothPaths) {
  // What the zip branch carries behind "The file is possibly corrupt." when a write hits ENOSPC.
  const FailureReason full{vberr::kDiskFull, VbErrorText(vberr::kDiskFull)};
  EXPECT_EQ(ExtractReasonText(full, "/a/game.zip", "/w"),
            "the disk is full: /a/game.zip could not be unpacked into /w");
  // Other reasons: the method's own failure text says it best.
  EXPECT_EQ(ExtractReasonText({vberr::kDeviceIo, "Input/output error"}, "/a/game.zip", "/w"), "");
  EXPECT_EQ(ExtractReasonText({}, "/a/game.zip", "/w"), "");
}

TEST(FailureTextsTest, ProgramProblemTellsMissingFolderAndNotExecutable) {
  test::TempDir dir;
  EXPECT_EQ(ProgramProblem((dir / "none").string()), "it does not exist");
  EXPECT_EQ(ProgramProblem(dir.path().string()), "it is a folder");
  test::WriteFile(dir / "prog", std::string("#!/bin/sh\n"));
  fs::permissions(dir / "prog", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ProgramProblem((dir / "prog").string()), "it is not executable");
  fs::permissions(dir / "prog", fs::perms::owner_all);
  EXPECT_EQ(CannotRunText("launch", (dir / "prog").string()),
            "hv launch: cannot run " + (dir / "prog").string() + ": it could not be started");
}

TEST(FailureTextsTest, ChoiceAndCommandTextsListWhatThereIs) {
  EXPECT_EQ(NoSuchChoiceText("X.PRG", {"a.prg", "b.prg"}),
            "--choose \"X.PRG\" matches none of the game files: a.prg, b.prg");
  EXPECT_EQ(ChooseHintText({"a.prg", "b.prg"}),
            "it holds several game files and none was chosen; choose one with --choose NAME: "
            "a.prg, b.prg");
  EXPECT_EQ(UnknownCommandText("hv", "bogus", {"list", "reg"}),
            "hv: unknown command \"bogus\"; the commands are: list, reg");
  EXPECT_EQ(UnknownLauncherText("vice2", {"VICE", "Frodo"}),
            "unknown launcher \"vice2\"; the launchers are: VICE, Frodo");
}

// The failure texts keep CR LF and run their separator into the names; a terminal gets LF
// and the separator on its own line.
TEST(FailureTextsTest, PeopleTextPutsTheSeparatorOnItsOwnLine) {
  const std::string dashes(32, '-');
  EXPECT_EQ(PeopleText("You need to choose.\r\n" + dashes + "a.prg\r\nb.prg\r\n" + dashes),
            "You need to choose.\n" + dashes + "\na.prg\nb.prg\n" + dashes);
  EXPECT_EQ(PeopleText("Not compatible.\r\n" + dashes + "\r\nx.txt\r\n" + dashes),
            "Not compatible.\n" + dashes + "\nx.txt\n" + dashes);
  EXPECT_EQ(PeopleText("Error: \r\n\r\nFile not found  (53)\r\n"),
            "Error: \n\nFile not found  (53)");
  EXPECT_EQ(LfLines("a\rb\r\nc"), "a\nb\nc");
}

}  // namespace
}  // namespace hv::cli
