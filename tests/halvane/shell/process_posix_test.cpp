// A real start: a script written here records its arguments and working directory, proving that
// the command line reaches the program split the Windows way, with `$` and quotation marks
// intact, started in the directory the launcher moved to, and that no zombie is left behind.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/error.h"
#include "halvane/functions/hvFunctions.h"
#include "halvane/shell/hvShell.h"
#include "platform/process.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace hv::platform {
namespace {

namespace fs = std::filesystem;

// Waits up to ten seconds for `file` to be complete (the script writes it last by renaming).
bool WaitFor(const fs::path& file) {
  for (int i = 0; i < 1000; ++i) {
    if (fs::exists(file)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ProcessPosixTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = fs::current_path(); }
  void TearDown() override { fs::current_path(saved_); }
  fs::path saved_;
  test::TempDir tmp;
};

TEST_F(ProcessPosixTest, StartsDetachedWithArgumentsUnchanged) {
  const fs::path script = tmp / "emu dir" / "fake-emu";
  fs::create_directories(script.parent_path());
  const fs::path out = tmp / "record.txt";
  test::WriteFile(script,
                  "#!/bin/sh\n"
                  "{ pwd; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > \"" +
                      out.string() +
                      ".part\"\n"
                      "mv \"" +
                      out.string() + ".part\" \"" + out.string() + "\"\n");
  fs::permissions(script, fs::perms::owner_all);

  ProcessService& process = SystemProcessService();
  process.ChangeDrive("C");  // no drives here: nothing happens
  process.ChangeDirectory((tmp / "emu dir").string());
  // The program path holds a blank, so it is quoted; the rest is the C64S form.
  process.Start("\"" + script.string() +
                    "\" -disk GAME.D64 -autotype \"LOAD$20$22GAME$22,8,1$0DRUN$0D\" "
                    "a\\\\\\\"b \"x\"\"y\" $HOME",
                kWindowNormal);
  ASSERT_TRUE(WaitFor(out));
  EXPECT_EQ(Slurp(out), fs::canonical(tmp / "emu dir").string() +
                            "\n[-disk]\n[GAME.D64]\n[-autotype]\n"
                            "[LOAD$20$22GAME$22,8,1$0DRUN$0D]\n[a\\\"b]\n[x\"y]\n[$HOME]\n");

  // The intermediate child has been reaped and the program belongs to init: nothing to wait for.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(ProcessPosixTest, ProgramThatCannotStartIsFileNotFound) {
  ProcessService& process = SystemProcessService();
  try {
    process.Start((tmp / "missing-program").string() + " arg", kWindowNormal);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), vberr::kFileNotFound);
    EXPECT_EQ(e.Description(), "File not found");
  }
  const fs::path not_executable = tmp / "plain.txt";
  test::WriteFile(not_executable, "text");
  EXPECT_THROW(process.Start(not_executable.string(), kWindowNormal), Error);
  EXPECT_THROW(process.Start("", kWindowNormal), Error);
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

// A program that is there but cannot run says why, in the numbers a launcher shows.
TEST_F(ProcessPosixTest, ProgramThatIsThereButCannotRunSaysWhy) {
  const fs::path not_executable = tmp / "emu.txt";
  test::WriteFile(not_executable, "text");
  const fs::path no_program = tmp / "x64";
  test::WriteFile(no_program, std::string("\x7f"
                                          "ELF garbage, no program at all",
                                          31));
  fs::permissions(no_program, fs::perms::owner_all);
  fs::create_directory(tmp / "folder");
  const struct {
    fs::path program;
    int number;
    const char* text;
  } cases[] = {
      {not_executable, vberr::kPermissionDenied, "Permission denied"},
      {tmp / "folder", vberr::kPermissionDenied, "Permission denied"},
      {no_program, vberr::kInvalidFileFormat, "Invalid file format"},
      {tmp / "no-folder" / "x64", vberr::kFileNotFound, "File not found"},
      {not_executable / "x64", vberr::kPathNotFound, "Path not found"},
  };
  for (const auto& c : cases) {
    try {
      SystemProcessService().Start(c.program.string() + " -autostart x", kWindowNormal);
      ADD_FAILURE() << c.program << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), c.number) << c.program;
      EXPECT_EQ(e.Description(), c.text) << c.program;
    }
  }
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

// The same through a launcher, with the real general functions and process service.
TEST_F(ProcessPosixTest, ALauncherShowsTheFittingError) {
  const fs::path emulator = tmp / "frodo";
  test::WriteFile(emulator, "not executable");
  halvane::hvShell shell{[] { return std::make_unique<halvane::hvFunctions>(); }};
  EXPECT_EQ(shell.Frodo(emulator.string(), false),
            "There was an error starting Frodo.  Error 70: Permission denied");
  fs::permissions(emulator, fs::perms::owner_all);
  EXPECT_EQ(shell.Frodo(emulator.string(), false),
            "There was an error starting Frodo.  Error 321: Invalid file format");
}

TEST_F(ProcessPosixTest, MissingDirectoryIsPathNotFound) {
  ProcessService& process = SystemProcessService();
  try {
    process.ChangeDirectory((tmp / "nowhere").string());
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), vberr::kPathNotFound);
  }
  EXPECT_EQ(fs::current_path(), saved_);
}

}  // namespace
}  // namespace hv::platform
