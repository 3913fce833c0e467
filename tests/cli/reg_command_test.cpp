#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "common/error.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace hv::test {
namespace {

class RegCommandTest : public ::testing::Test {
 protected:
  RegCommandTest() { ::setenv("HV_SETTINGS_DB", (dir_ / "settings.db").c_str(), 1); }
  ~RegCommandTest() override { ::unsetenv("HV_SETTINGS_DB"); }
  RunResult Hv(const std::vector<std::string>& args) {
    return test::Run(std::string(HV_BIN_DIR) + "/hv", args);
  }
  TempDir dir_;
};

TEST_F(RegCommandTest, SetThenGetRoundTripsUtf8Text) {
  RunResult r = Hv({"reg", "set", "hkey_current_user", "Software\\Zen", "Path", "C:\\Spiele\\Ü"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  r = Hv({"reg", "get", "HKEY_CURRENT_USER", "SOFTWARE\\zen", "path"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "C:\\Spiele\\Ü\n");
}

TEST_F(RegCommandTest, MissingValueAndDefaultsFollowTheMethod) {
  RunResult r = Hv({"reg", "get", "HKEY_USERS", "Zen", "Count"});
  EXPECT_EQ(r.exit_code, 1);  // a script must not take the marker for the value
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "hv reg get: HKEY_USERS\\Zen\\Count: no such value (--default VALUE stores one)\n");
  r = Hv({"reg", "get", "HKEY_USERS", "Zen", "Count", "--json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(nlohmann::json::parse(r.out)["vValue"], "--NOT-FOUND--");
  r = Hv({"reg", "get", "HKEY_USERS", "Zen", "Count", "--dword", "--default", "5", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["Result"], true);
  EXPECT_EQ(j["vValue"], 5);
  EXPECT_EQ(j["bStringType"], 0);
  EXPECT_EQ(j["vDefault"], "5");
}

TEST_F(RegCommandTest, ExitCodesSayFailureErrorAndUsage) {
  RunResult r = Hv({"reg", "set", "HKCU", "Zen", "N", "1"});
  EXPECT_EQ(r.exit_code, 1);
  r = Hv({"reg", "get", "HKCU", "Zen", "N", "--json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(nlohmann::json::parse(r.out)["Result"], false);

  r = Hv({"reg", "set", "HKEY_CURRENT_USER", "Zen", "N", "ABC", "--dword", "--json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("error 13: Type mismatch"), std::string::npos) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out)["Error"]["Number"], vberr::kTypeMismatch);

  EXPECT_EQ(
      Hv({"reg", "set", "HKEY_CURRENT_USER", "Zen", "N", "1", "--string", "--dword"}).exit_code, 2);
  EXPECT_EQ(Hv({"reg", "get", "HKEY_CURRENT_USER", "Zen"}).exit_code, 2);
  EXPECT_EQ(Hv({"reg"}).exit_code, 2);
}

TEST_F(RegCommandTest, ADatabaseInAMissingFolderIsNamedAndNotMade) {
  const std::string db = (dir_ / "typo" / "settings.db").string();
  ::setenv("HV_SETTINGS_DB", db.c_str(), 1);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"reg", "set", "HKEY_CURRENT_USER", "Zen", "N", "1"},
        std::vector<std::string>{"reg", "get", "HKEY_CURRENT_USER", "Zen", "N"}}) {
    const RunResult r = Hv(args);
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find(db + ", but its folder " + (dir_ / "typo").string() + " does not exist"),
              std::string::npos)
        << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "typo"));
}

}  // namespace
}  // namespace hv::test
