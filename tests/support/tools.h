#pragma once
// Running the Debian tools that make test inputs, and the hv program itself.

#include <string>
#include <vector>

namespace hv::test {

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs a program directly (no shell) with the given arguments, capturing both streams.
RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::string& working_dir = {});

// The path of a tool found at configure time, or "" when it was not found.
std::string ToolPath(const char* configured);

// Skips the current test when the tool is missing.
#define HV_REQUIRE_TOOL(path)                                         \
  do {                                                                \
    if ((path).empty()) GTEST_SKIP() << "tool not installed: " #path; \
  } while (0)

}  // namespace hv::test
