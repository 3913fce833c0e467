// hv's command table: every command it lists is reached by its name as the first word, with
// the help that the full listing gives it.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/tools.h"

namespace {

const std::string kHv = std::string(HV_BIN_DIR) + "/hv";

// The command names under "Subcommands:" in `hv --help`.
std::vector<std::string> ListedCommands() {
  std::istringstream help(hv::test::Run(kHv, {"--help"}).out);
  std::vector<std::string> names;
  bool in_list = false;
  for (std::string line; std::getline(help, line);) {
    if (line == "Subcommands:") {
      in_list = true;
    } else if (in_list && line.size() > 2 && line[2] != ' ') {
      names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
  }
  return names;
}

// The description line `hv --help-all` prints under a command's name.
std::string DescriptionInFullHelp(const std::string& full, const std::string& name) {
  const auto at = full.find("\n" + name + "\n  ");
  if (at == std::string::npos) return {};
  const auto start = at + name.size() + 4;
  return full.substr(start, full.find('\n', start) - start);
}

TEST(MainTest, EveryListedCommandAnswersToItsName) {
  const auto names = ListedCommands();
  ASSERT_EQ(names.size(), 13u);
  const std::string full = hv::test::Run(kHv, {"--help-all"}).out;
  for (const auto& name : names) {
    const auto r = hv::test::Run(kHv, {name, "--help"});
    EXPECT_EQ(r.exit_code, 0) << name << ": " << r.err;
    const std::string description = DescriptionInFullHelp(full, name);
    ASSERT_FALSE(description.empty()) << name;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), description) << name;
    EXPECT_NE(r.out.find("Usage: " + kHv + " " + name + " "), std::string::npos) << r.out;
  }
}

// Only the exact name selects one command; anything else is matched against all of them.
TEST(MainTest, WordsThatAreNoExactNameMeetEveryCommand) {
  for (const char* word : {"List", "lis", "play-", "--json"}) {
    const auto r = hv::test::Run(kHv, {word, "x"});
    EXPECT_EQ(r.exit_code, 2) << word;
  }
  const auto r = hv::test::Run(kHv, {"LIST", "x.d64"});
  EXPECT_NE(r.err.find("the commands are: list, reg, launch, play-sid, open, config, sid, find, "
                       "path, extract, db, play"),
            std::string::npos)
      << r.err;
}

TEST(MainTest, VersionIsPrinted) {
  const auto r = hv::test::Run(kHv, {"--version"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "hv 1.0.0\n");
}

// Every option of every command appears in one help entry: aliases share it.
TEST(MainTest, NoOptionIsListedTwice) {
  const std::string full = hv::test::Run(kHv, {"--help-all"}).out;
  std::istringstream lines(full);
  std::string section;
  std::map<std::string, int> seen;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] != ' ') {
      section = line;  // a command's name starts its block
      continue;
    }
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first.rfind("-", 0) != 0) continue;
    for (std::size_t at = 0; at < first.size();) {
      const std::size_t comma = first.find(',', at);
      const std::string name = first.substr(at, comma == std::string::npos ? comma : comma - at);
      EXPECT_EQ(++seen[section + " " + name], 1) << section << " lists " << name << " twice";
      if (comma == std::string::npos) break;
      at = comma + 1;
    }
  }
  EXPECT_GT(seen.size(), 20u);
}

}  // namespace
