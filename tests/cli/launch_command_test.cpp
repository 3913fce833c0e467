// hv launch / play-sid / open through the real program: dry runs print and change nothing,
// a real launch rewrites the configuration file and starts the program.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/bytes.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace hv::test {
namespace {

namespace fs = std::filesystem;

const std::string kHv = std::string(HV_BIN_DIR) + "/hv";

class LaunchCommandTest : public ::testing::Test {
 protected:
  LaunchCommandTest() {
    fs::create_directories(tmp / "emu");
    fs::create_directories(tmp / "Games");
    WriteFile(tmp / "emu" / "ccsdpmi.exe", std::string("#!/bin/sh\necho \"$@\" > ../started\n"));
    fs::permissions(tmp / "emu" / "ccsdpmi.exe", fs::perms::owner_all);
    WriteFile(tmp / "emu" / "ccs64", std::string());
    WriteFile(tmp / "emu" / "c64.cfg", std::string("$JOYSTICK1PC=0\r\n\r\n$LOADPATH=X\r\nREST=1"));
    WriteFile(tmp / "Games" / "Game.D64", std::string());
  }
  std::string P(const std::string& rel) const { return (tmp.path() / rel).string(); }
  TempDir tmp;
};

TEST_F(LaunchCommandTest, DryRunPrintsAndChangesNothing) {
  const auto r =
      hv::test::Run(kHv, {"launch", "CCS64v109", "--emulator", P("emu/ccs64"), "--game",
                          P("Games/Game.D64"), "--games-dir", P("Games"), "--intJOYPort1",
                          "eCCS109_PCJoystick2", "--key1", "2", "--write-config", "--dry-run"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("config file: " + P("emu/c64.cfg") + "\n  $JOYSTICK1PC=1\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  $JOYSTICK1KEY=2\n"), std::string::npos);
  EXPECT_NE(r.out.find("  $LOADPATH=" + P("Games") + "/\n"), std::string::npos);
  EXPECT_NE(r.out.find("folder: " + P("emu") + "/\n"), std::string::npos);
  EXPECT_NE(r.out.find("command line: " + P("emu") + "/ccsdpmi.exe ccs64.exe " +
                       P("Games/Game.D64") + ",0\n"),
            std::string::npos);
  EXPECT_EQ(ReadFile(tmp / "emu" / "c64.cfg").size(), 37u);
  EXPECT_FALSE(fs::exists(tmp / "started"));
}

TEST_F(LaunchCommandTest, RelativePathsAreMadeAbsoluteBeforeTheFolderChanges) {
  const auto r = hv::test::Run(kHv,
                               {"launch", "CCS64v20DosAndWin", "--emulator", "emu/ccs64", "--game",
                                "Games/Game.D64", "--dry-run"},
                               tmp.path().string());
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("command line: " + P("emu/ccs64") + " " + P("Games/Game.D64") + ",0\n"),
            std::string::npos)
      << r.out;
}

TEST_F(LaunchCommandTest, RealLaunchWritesConfigAndStarts) {
  const auto r = hv::test::Run(
      kHv, {"launch", "ccs64v109", "--emulator", P("emu/ccs64"), "--game", P("Games/Game.D64"),
            "--games-dir", P("Games"), "--index", "-2", "--write-config"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Bytes bytes = ReadFile(tmp / "emu" / "c64.cfg");
  const std::string cfg(bytes.begin(), bytes.end());
  EXPECT_EQ(cfg, "$JOYSTICK1PC=0\r\n$LOADPATH=" + P("Games") + "/\r\nREST=1\r\n");
  for (int i = 0; i < 500 && !fs::exists(tmp / "started"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const auto started = ReadFile(tmp / "started");
  EXPECT_EQ(std::string(started.begin(), started.end()),
            "ccs64.exe " + P("Games/Game.D64") + ",-2\n");
}

// Each launcher name reaches its own launcher, in any case; any other word is a usage error
// that lists them all, before anything is started or unpacked.
TEST_F(LaunchCommandTest, OnlyLauncherNamesAreAccepted) {
  const std::string game = P("Games/Game.D64");
  const std::vector<std::string> launchers = {"CCS64v109", "CCS64v20DosAndWin", "C64Sv252",
                                              "VICE",      "VICENoSettings",    "Comeback64",
                                              "Win64Beta", "PC64Win",           "Frodo"};
  for (const std::string& name : launchers) {
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto r = hv::test::Run(
        kHv, {"launch", lower, "--emulator", P("emu/ccs64"), "--game", game, "--dry-run"});
    EXPECT_EQ(r.exit_code, 0) << name << ": " << r.err;
    // Frodo is the one launcher that starts its emulator without the game.
    EXPECT_EQ(r.out.find("Game.D64") != std::string::npos, name != "Frodo")
        << name << ": " << r.out;
  }
  std::string list;
  for (const std::string& name : launchers) list += (list.empty() ? "" : ", ") + name;
  const std::string unknown = "unknown launcher \"Frodo2\"; the launchers are: " + list;
  auto r = hv::test::Run(kHv, {"launch", "Frodo2", "--emulator", P("emu/ccs64"), "--dry-run"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("METHOD: " + unknown), std::string::npos) << r.err;
  WriteFile(tmp / "game.zip", std::string("PK"));
  r = hv::test::Run(kHv, {"play", P("game.zip"), "--work", P("work"), "--emulator", "Frodo2",
                          "--emulator-path", P("emu/ccs64"), "--dry-run"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("--emulator: " + unknown), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(tmp / "work"));
}

TEST_F(LaunchCommandTest, NotFoundIsReportedWithFailureCode) {
  const auto r =
      hv::test::Run(kHv, {"launch", "VICE", "--emulator", P("emu/x64"), "--game", P("g.d64")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Unable to run the VICE Emulator.  File: " + P("emu/x64") + " not found\n");
}

TEST_F(LaunchCommandTest, AProgramThatCannotRunIsNamed) {
  WriteFile(tmp / "emu" / "x64", std::string("#!/bin/sh\n"));
  fs::permissions(tmp / "emu" / "x64", fs::perms::owner_read | fs::perms::owner_write);
  const auto r = hv::test::Run(
      kHv, {"launch", "VICE", "--emulator", P("emu/x64"), "--game", P("Games/Game.D64")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "hv launch: cannot run " + P("emu/x64") + ": it is not executable\n");
}

TEST_F(LaunchCommandTest, PlaySidSaysWhichFileIsMissing) {
  WriteFile(tmp / "Games" / "tune.sid", std::string());
  const std::string player = P("emu/ccsdpmi.exe");
  auto r = hv::test::Run(kHv, {"play-sid", P("emu/none"), P("Games"), "tune.sid"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "hv play-sid: " + P("emu/none") + ": file not found\n");
  for (const char* tune : {"--tune=2", "--dry-run"}) {
    r = hv::test::Run(kHv, {"play-sid", player, P("Games"), "gone.sid", tune});
    EXPECT_EQ(r.exit_code, 1) << tune;
    EXPECT_EQ(r.err, "hv play-sid: " + P("Games/gone.sid") + ": file not found\n");
    EXPECT_EQ(r.out, "");
  }
  r = hv::test::Run(kHv, {"play-sid", player, P("Games"), "gone.sid", "--quiet"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "");
  // A player that is there but cannot run.
  WriteFile(tmp / "emu" / "player", std::string());
  fs::permissions(tmp / "emu" / "player", fs::perms::owner_read);
  r = hv::test::Run(kHv, {"play-sid", P("emu/player"), P("Games"), "tune.sid"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "hv play-sid: cannot run " + P("emu/player") + ": it is not executable\n");
}

TEST_F(LaunchCommandTest, OpenFailsOnAMissingFileOrOpener) {
  auto r = hv::test::Run(kHv, {"open", P("Games/none.txt")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "hv open: " + P("Games/none.txt") + ": file not found\n");
  // No xdg-open on the PATH.
  const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", P("emu").c_str(), 1);
  r = hv::test::Run(kHv, {"open", P("Games/Game.D64")});
  ::setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("hv open: cannot open " + P("Games/Game.D64") + ": xdg-open cannot be run"),
            std::string::npos)
      << r.err;
}

TEST_F(LaunchCommandTest, PlaySidAndOpenDryRuns) {
  WriteFile(tmp / "Games" / "tune.sid", std::string());
  auto r = hv::test::Run(
      kHv, {"play-sid", P("emu/ccsdpmi.exe"), P("Games"), "tune.sid", "--tune", "-1", "--dry-run"});
  EXPECT_NE(r.out.find("command line: " + P("emu/ccsdpmi.exe") + " -o-1 " + P("Games/tune.sid")),
            std::string::npos)
      << r.out;
  r = hv::test::Run(kHv, {"open", P("Games/tune.sid"), "--dry-run"});
  EXPECT_EQ(r.out, "open: " + P("Games/tune.sid") + "\n");
}

// A player named without a folder is found on PATH, as a shell finds it.
TEST_F(LaunchCommandTest, PlaySidFindsAPlayerOnThePath) {
  WriteFile(tmp / "Games" / "tune.sid", std::string());
  const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", ("relative:" + P("emu")).c_str(), 1);
  auto r = hv::test::Run(kHv, {"play-sid", "ccsdpmi.exe", P("Games"), "tune.sid", "--dry-run"});
  const auto missing = hv::test::Run(kHv, {"play-sid", "noplayer", P("Games"), "tune.sid"});
  ::setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("command line: " + P("emu/ccsdpmi.exe") + " "), std::string::npos) << r.out;
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("noplayer: file not found"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace hv::test
