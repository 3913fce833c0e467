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

// The directory cc1541 prints for an image it is given alone, as c1541 lists it: without
// cc1541's own lines ("Adding 0 files ...", blank lines, WARNING lines) and the terminal's
// reverse-video codes around the header. "" when cc1541 did not run.
std::string Cc1541Listing(const std::string& cc1541, const std::string& image);

// Skips the current test when the tool is missing.
#define HV_REQUIRE_TOOL(path)                                         \
  do {                                                                \
    if ((path).empty()) GTEST_SKIP() << "tool not installed: " #path; \
  } while (0)

}  // namespace hv::test
