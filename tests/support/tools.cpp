#include "support/tools.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/temp_dir.h"

namespace hv::test {
namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::string& working_dir) {
  TempDir capture;
  const auto out_path = capture / "out";
  const auto err_path = capture / "err";
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) ::_exit(126);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (!working_dir.empty() && ::chdir(working_dir.c_str()) != 0) ::_exit(126);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
  }
  RunResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = Slurp(out_path);
  result.err = Slurp(err_path);
  return result;
}

std::string ToolPath(const char* configured) {
  const std::string path = configured;
  if (path.empty() || path.find("NOTFOUND") != std::string::npos) return {};
  return path;
}

std::string Cc1541Listing(const std::string& cc1541, const std::string& image) {
  // cc1541 rewrites the image it lists: list a copy.
  TempDir scratch;
  const auto copy = scratch / std::filesystem::path(image).filename().string();
  std::filesystem::copy_file(image, copy);
  const RunResult run = Run(cc1541, {copy.string()});
  if (run.exit_code != 0) return {};
  std::istringstream lines(run.out);
  std::string listing;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line.rfind("Adding ", 0) == 0 || line.rfind("WARNING", 0) == 0) continue;
    for (const std::string code : {"\x1b[7m", "\x1b[m"}) {
      for (auto at = line.find(code); at != std::string::npos; at = line.find(code)) {
        line.erase(at, code.size());
      }
    }
    listing += line + "\n";
  }
  return listing;
}

}  // namespace hv::test
