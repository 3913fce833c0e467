// Outside tools run to their end, and a tool that writes more than its bound is stopped there
// instead of filling the disk.

#include <gtest/gtest.h>

#include <cstdint>
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

// A shell script `file` that runs `body`, ready to start.
void WriteScript(const fs::path& file, const std::string& body) {
  std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
  fs::permissions(file, fs::perms::owner_all);
}

std::string Read(const fs::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs `dd if=/dev/zero <dd_arguments>` in `dir` as a tool of `tools` and tells how dd ended:
// "0" when it finished, the name of the signal that stopped it otherwise. The script around it
// is a tool too, and writes no more than that word.
std::string DdEnding(hv::platform::ToolProcessService& tools, const fs::path& dir,
                     const std::string& dd_arguments) {
  WriteScript(dir / "dd-tool", "cd '" + dir.string() + "' || exit\ndd if=/dev/zero " +
                                   dd_arguments +
                                   " 2>/dev/null\ns=$?\n"
                                   "if [ $s -gt 128 ]; then kill -l $s; else echo $s; fi > ended");
  fs::remove(dir / "ended");
  tools.RunAndWait((dir / "dd-tool").string(), hv::platform::kWindowHidden);
  return Read(dir / "ended");
}

// The file stops growing at the bound, and the tool is stopped there rather than refused one
// write and left to go on writing: dd dies of SIGXFSZ instead of reporting an error.
TEST(ToolProcessTest, AToolWritingPastItsBoundIsCutOffAndStopped) {
  hv::test::TempDir dir;
  const auto tools = hv::platform::MakeToolProcessService(64 * 1024);
  EXPECT_EQ(DdEnding(*tools, dir.path(), "of=big bs=4096 count=100"), "XFSZ\n");
  EXPECT_EQ(fs::file_size(dir / "big"), 64u * 1024);
  // Files within the bound are written whole, each on its own.
  EXPECT_EQ(DdEnding(*tools, dir.path(), "of=small bs=4096 count=4"), "0\n");
  EXPECT_EQ(DdEnding(*tools, dir.path(), "of=exact bs=4096 count=16"), "0\n");
  EXPECT_EQ(fs::file_size(dir / "small"), 16u * 1024);
  EXPECT_EQ(fs::file_size(dir / "exact"), 64u * 1024);
}

// The system's own service bounds each file at kToolMaxFileBytes exactly: one byte written at
// the last offset inside the bound lands, one at the bound stops the tool. Both files have a
// hole where the rest would be, so neither costs disk space.
TEST(ToolProcessTest, TheSystemBoundIsTheToolMaxFileBytes) {
  hv::test::TempDir dir;
  const std::uint64_t bound = hv::platform::kToolMaxFileBytes;
  auto& tools = hv::platform::SystemToolProcessService();
  const std::string one_byte = "bs=1 count=1 conv=notrunc seek=";
  EXPECT_EQ(DdEnding(tools, dir.path(), "of=inside " + one_byte + std::to_string(bound - 1)),
            "0\n");
  EXPECT_EQ(fs::file_size(dir / "inside"), bound);
  EXPECT_EQ(DdEnding(tools, dir.path(), "of=past " + one_byte + std::to_string(bound)), "XFSZ\n");
  EXPECT_EQ(fs::file_size(dir / "past"), 0u);
}

// A tool started by name: a PATH of `bin` alone, the current directory `here`, restored after.
class ToolProcessByNameTest : public ::testing::Test {
 protected:
  ToolProcessByNameTest() {
    fs::create_directories(dir / "bin");
    fs::create_directories(dir / "here");
    const char* path = std::getenv("PATH");
    saved_path_ = path ? path : "";
    saved_cwd_ = fs::current_path();
    ::setenv("PATH", (dir / "bin").c_str(), 1);
    fs::current_path(dir / "here");
  }
  ~ToolProcessByNameTest() override {
    fs::current_path(saved_cwd_);
    ::setenv("PATH", saved_path_.c_str(), 1);
  }
  // A shell script that writes its argument count and arguments, one a line, to `log`.
  void Script(const fs::path& file, const fs::path& log) {
    WriteScript(file, "{ echo $#; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" +
                          log.string() + "'");
  }

  hv::test::TempDir dir;

 private:
  std::string saved_path_;
  fs::path saved_cwd_;
};

TEST_F(ToolProcessByNameTest, EachArgumentArrivesWholeAndNothingElseRuns) {
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
TEST_F(ToolProcessByNameTest, TheCurrentDirectoryIsNotSearched) {
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

TEST_F(ToolProcessByNameTest, AProgramWithAFolderIsTakenAsItIs) {
  Script(dir / "here" / "winzip32.exe", dir / "log");
  hv::platform::ToolCommand command{(dir / "here" / "winzip32.exe").string(),
                                    {"-e", hv::platform::ToolArgument::Quoted("a b&c")}};
  command.quote_program = true;
  hv::platform::SystemToolProcessService().RunToolAndWait(command, hv::platform::kWindowMinimized);
  EXPECT_EQ(Read(dir / "log"), "2\n-e\na b&c\n");
  EXPECT_EQ(hv::platform::ToolCommandLine(command), "\"" + command.program + "\" -e \"a b&c\"");
}

}  // namespace
