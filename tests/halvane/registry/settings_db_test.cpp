#include "platform/posix/settings_db.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "halvane/functions/hvRegistry.h"
#include "store.h"

namespace hv::test {
namespace {

// Sets or clears one environment variable for the life of the object.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~EnvVar() { old_.empty() ? ::unsetenv(name_) : ::setenv(name_, old_.c_str(), 1); }

 private:
  const char* name_;
  std::string old_;
};

TEST(SettingsDbPathTest, FollowsTheOverrideThenXdgThenHome) {
  EnvVar home("HOME", "/home/zen");
  {
    EnvVar db("HV_SETTINGS_DB", "/tmp/x/s.db");
    EnvVar xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(platform::SettingsDbPath(), "/tmp/x/s.db");
  }
  EnvVar db("HV_SETTINGS_DB", nullptr);
  {
    EnvVar xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(platform::SettingsDbPath(), "/cfg/hv/settings.db");
  }
  {
    EnvVar xdg("XDG_CONFIG_HOME", "relative/cfg");  // not absolute: ignored
    EXPECT_EQ(platform::SettingsDbPath(), "/home/zen/.config/hv/settings.db");
  }
  EnvVar xdg("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(platform::SettingsDbPath(), "/home/zen/.config/hv/settings.db");
}

TEST(SettingsDbPathTest, CreatesTheFolderOnFirstUse) {
  TempDir dir;
  EnvVar db("HV_SETTINGS_DB", nullptr);
  EnvVar xdg("XDG_CONFIG_HOME", dir.path().c_str());
  platform::RegistryKey key;
  ASSERT_EQ(platform::RegistryKey::Create(platform::RegistryRoot::kCurrentUser, "Zen", key), 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "hv" / "settings.db"));
}

TEST(SettingsDbPathTest, AFolderNamedByTheOverrideIsNeverMade) {
  TempDir dir;
  const std::string db = (dir / "typo" / "s.db").string();
  EnvVar named("HV_SETTINGS_DB", db.c_str());
  EXPECT_EQ(platform::SettingsDbProblem(), "HV_SETTINGS_DB names " + db + ", but its folder " +
                                               (dir / "typo").string() + " does not exist");
  platform::RegistryKey key;
  EXPECT_NE(platform::RegistryKey::Create(platform::RegistryRoot::kCurrentUser, "Zen", key), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "typo"));
  WriteFile(dir / "typo", std::string("a file"));
  EXPECT_NE(platform::SettingsDbProblem().find("is not a folder"), std::string::npos);
  EnvVar here("HV_SETTINGS_DB", (dir / "s.db").c_str());
  EXPECT_EQ(platform::SettingsDbProblem(), "");
}

using SettingsDbTest = StoreTest;

// Two processes write the same value as fast as they can, each reading it back in between,
// starting on a store that does not exist yet. Every call must succeed, the file must stay
// whole, and the last value written wins.
TEST_F(SettingsDbTest, TwoProcessesWritingAtOnceLeaveAWholeStore) {
  constexpr int kWrites = 150;
  std::vector<pid_t> children;
  for (const char* tag : {"A", "B"}) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      for (int i = 0; i < kWrites; ++i) {
        std::string root = "HKEY_CURRENT_USER", key = "Software\\Zen\\Race", name = "Last";
        Variant value(std::string(tag) + "-" + std::to_string(i));
        std::int16_t string_type = hvRegistry::kStringType;
        hvRegistry reg;
        if (!reg.SaveSetting(root, key, name, value, string_type)) ++failures;
        Variant back;
        if (!reg.GetSetting(root, key, name, back, string_type) || !back.IsString() ||
            (back.ToText()[0] != 'A' && back.ToText()[0] != 'B')) {
          ++failures;
        }
      }
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer saw a failure";
  }
  EXPECT_EQ(Text("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(KeyCount(), 3);
  EXPECT_EQ(ValueCount(), 1);
  const RawValue raw = ReadRaw(platform::RegistryRoot::kCurrentUser, "Software\\Zen\\Race", "Last");
  const std::string last(raw.data.begin(), raw.data.end());
  const std::string a_last = "A-" + std::to_string(kWrites - 1) + '\0';
  const std::string b_last = "B-" + std::to_string(kWrites - 1) + '\0';
  EXPECT_TRUE(last == a_last || last == b_last) << last;
}

}  // namespace
}  // namespace hv::test
