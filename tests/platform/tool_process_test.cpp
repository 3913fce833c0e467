// Outside tools run to their end, and a tool that writes more than its bound is stopped there
// instead of filling the disk.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/process.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string WriteZeros(const fs::path& file, int blocks) {
  return "dd if=/dev/zero of=" + file.string() + " bs=4096 count=" + std::to_string(blocks);
}

TEST(ToolProcess, AToolWritingPastItsBoundIsStoppedThere) {
  hv::test::TempDir dir;
  const auto tools = hv::platform::MakeToolProcessService(64 * 1024);
  tools->RunAndWait(WriteZeros(dir / "big", 100), hv::platform::kWindowHidden);
  EXPECT_EQ(fs::file_size(dir / "big"), 64u * 1024);
  // Files within the bound are written whole, each on its own.
  tools->RunAndWait(WriteZeros(dir / "small", 4), hv::platform::kWindowHidden);
  tools->RunAndWait(WriteZeros(dir / "exact", 16), hv::platform::kWindowHidden);
  EXPECT_EQ(fs::file_size(dir / "small"), 16u * 1024);
  EXPECT_EQ(fs::file_size(dir / "exact"), 64u * 1024);
}

TEST(ToolProcess, TheSystemBoundLeavesRoomForAnyGame) {
  hv::test::TempDir dir;
  hv::platform::SystemToolProcessService().RunAndWait(WriteZeros(dir / "disk", 256),
                                                      hv::platform::kWindowHidden);
  EXPECT_EQ(fs::file_size(dir / "disk"), 1024u * 1024);
}

// A tool started by name: a PATH of `bin` alone, the current directory `here`, restored after.
class ToolByName : public ::testing::Test {
 protected:
  ToolByName() {
    fs::create_directories(dir / "bin");
    fs::create_directories(dir / "here");
    const char* path = std::getenv("PATH");
    saved_path_ = path ? path : "";
    saved_cwd_ = fs::current_path();
    ::setenv("PATH", (dir / "bin").c_str(), 1);
    fs::current_path(dir / "here");
  }
  ~ToolByName() override {
    fs::current_path(saved_cwd_);
    ::setenv("PATH", saved_path_.c_str(), 1);
  }
  // A shell script that writes its argument count and arguments, one a line, to `log`.
  void Script(const fs::path& file, const fs::path& log) {
    std::ofstream(file)
        << "#!/bin/sh\n{ echo $#; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; }"
        << " > '" << log.string() << "'\n";
    fs::permissions(file, fs::perms::owner_all);
  }
  std::string Read(const fs::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  hv::test::TempDir dir;

 private:
  std::string saved_path_;
  fs::path saved_cwd_;
};

TEST_F(ToolByName, EachArgumentArrivesWholeAndNothingElseRuns) {
  Script(dir / "bin" / "lha.exe", dir / "log");
  Script(dir / "bin" / "PWN", dir / "pwned");
  const std::vector<std::string> hostile = {"X&PWN&.LHA", "a|PWN",      "<x>",       "^%PATH%!PWN!",
                                            "(a),b;c=d",  "with blank", "q\"uote\\", ""};
  hv::platform::ToolCommand command{"lha.exe", {}};
  std::string expected = std::to_string(hostile.size()) + "\n";
  for (const std::string& a : hostile) {
    command.arguments.emplace_back(a);
    expected += a + "\n";
  }
  hv::platform::SystemToolProcessService().RunToolAndWait(command, hv::platform::kWindowHidden);
  EXPECT_EQ(Read(dir / "log"), expected);
  EXPECT_FALSE(fs::exists(dir / "pwned"));
}

// The tool of the current directory (an archive's member, when the extraction runs it) is not
// the tool; the one on the PATH is, also when its name differs in case.
TEST_F(ToolByName, TheCurrentDirectoryIsNotSearched) {
  Script(dir / "here" / "gunzip.exe", dir / "member-ran");
  const hv::platform::ToolCommand command{"gunzip.exe", {"-f"}};
  hv::platform::SystemToolProcessService().RunToolAndWait(command, hv::platform::kWindowHidden);
  EXPECT_FALSE(fs::exists(dir / "member-ran"));

  ::setenv("PATH", (".:" + (dir / "bin").string()).c_str(), 1);  // a relative entry is skipped
  Script(dir / "bin" / "GUNZIP.EXE", dir / "path-ran");
  hv::platform::SystemToolProcessService().RunToolAndWait(command, hv::platform::kWindowHidden);
  EXPECT_FALSE(fs::exists(dir / "member-ran"));
  EXPECT_EQ(Read(dir / "path-ran"), "1\n-f\n");
}

TEST_F(ToolByName, AProgramWithAFolderIsTakenAsItIs) {
  Script(dir / "here" / "winzip32.exe", dir / "log");
  hv::platform::ToolCommand command{(dir / "here" / "winzip32.exe").string(),
                                    {"-e", hv::platform::ToolArgument::Quoted("a b&c")}};
  command.quote_program = true;
  hv::platform::SystemToolProcessService().RunToolAndWait(command, hv::platform::kWindowMinimized);
  EXPECT_EQ(Read(dir / "log"), "2\n-e\na b&c\n");
  EXPECT_EQ(hv::platform::ToolCommandLine(command), "\"" + command.program + "\" -e \"a b&c\"");
}

}  // namespace
