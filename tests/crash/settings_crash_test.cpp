// The settings store written by processes killed at random points: the database stays whole
// and the value is one that some writer wrote in full.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>

#include "common/variant.h"
#include "halvane/functions/hvRegistry.h"
#include "killed_writer.h"
#include "platform/posix/sqlite_handle.h"
#include "support/temp_dir.h"

namespace hv {
namespace {

constexpr int kRounds = 60;

// Written value number n: its number, then filler whose length depends on it, so that a value
// cut short or mixed with another one shows.
std::string ValueText(long n) {
  return std::to_string(n) + ":" + std::string(200 + n % 97, 'z');
}

struct Setting {
  std::string root = "HKEY_CURRENT_USER", key = "Software\\Crash\\Test", name = "Counter";
};

bool Save(long n) {
  Setting s;
  Variant value(ValueText(n));
  std::int16_t string_type = hvRegistry::kStringType;
  return hvRegistry().SaveSetting(s.root, s.key, s.name, value, string_type);
}

std::string Load() {
  Setting s;
  Variant value;
  std::int16_t string_type = hvRegistry::kStringType;
  if (!hvRegistry().GetSetting(s.root, s.key, s.name, value, string_type)) return "(failed)";
  return value.IsString() ? value.ToText() : "(not a text)";
}

std::string IntegrityCheck(const std::string& db_path) {
  platform::SqliteDb db;
  std::string result = "(cannot open)";
  if (::sqlite3_open_v2(db_path.c_str(), db.put(), SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    platform::SqliteStmt stmt;
    if (::sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check", -1, stmt.put(), nullptr) ==
            SQLITE_OK &&
        ::sqlite3_step(stmt.get()) == SQLITE_ROW) {
      result = reinterpret_cast<const char*>(::sqlite3_column_text(stmt.get(), 0));
    }
  }
  return result;
}

// The number of a whole value, or -1.
long NumberOf(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon == 0) return -1;
  try {
    const long n = std::stol(text.substr(0, colon));
    return text == ValueText(n) ? n : -1;
  } catch (const std::exception&) {
    return -1;
  }
}

class SettingsCrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = ::getenv("HV_SETTINGS_DB");
    if (old) saved_ = old, had_ = true;
    ::setenv("HV_SETTINGS_DB", db_path_.c_str(), 1);
  }
  void TearDown() override {
    if (had_) {
      ::setenv("HV_SETTINGS_DB", saved_.c_str(), 1);
    } else {
      ::unsetenv("HV_SETTINGS_DB");
    }
  }
  test::TempDir dir_;
  std::string db_path_ = (dir_ / "settings.db").string();
  std::string saved_;
  bool had_ = false;
};

TEST_F(SettingsCrashTest, KilledWritersLeaveAWholeDatabaseAndAWholeValue) {
  ASSERT_TRUE(Save(0));
  long next = 1;
  const auto one_write = test::MedianDuration([&] { ASSERT_TRUE(Save(next++)); }, 5);
  long highest = next - 1;

  // Each round's child starts numbering past everything written before it.
  long base = 0;
  test::KilledWriter writer([&] {
    for (long n = base;; ++n) {
      if (!Save(n)) std::abort();
    }
  });
  // Past the child's start-up, over a few writes: kills land before, inside and between them.
  const auto max_delay = std::max(one_write * 8, std::chrono::microseconds(20000));
  int changed = 0;
  for (int round = 0; round < kRounds; ++round) {
    base = (round + 1) * 1000000L;
    const std::string before = Load();
    ASSERT_TRUE(writer.Round(max_delay)) << "the writer failed; seed " << writer.seed();
    ASSERT_EQ(IntegrityCheck(db_path_), "ok") << "round " << round;
    const std::string now = Load();
    const long n = NumberOf(now);
    ASSERT_GE(n, 0) << "round " << round << ": not a written value: " << now.substr(0, 40);
    ASSERT_TRUE(n == highest || n >= base) << "round " << round << ": went back to " << n;
    changed += now != before ? 1 : 0;
    highest = n;
    // The next writer gets through: no lock was left behind.
    ASSERT_TRUE(Save(highest)) << "round " << round;
  }
  std::cout << "[ info ] " << kRounds << " killed writers (one write ~" << one_write.count()
            << " us): value changed in " << changed << " rounds, database whole each time\n";
  // Some writer got a value in before it was killed: the kills did not all miss the writes.
  EXPECT_GT(changed, 0);
}

// A reader racing a writer whose value keeps changing length: the value is read whole every
// time, never as missing.
TEST_F(SettingsCrashTest, AReaderRacingAWriterAlwaysSeesAWholeValue) {
  ASSERT_TRUE(Save(0));
  test::KilledWriter writer([&] {
    for (long n = 1;; ++n) {
      if (!Save(n % 2 == 0 ? n : n * 1000003)) std::abort();
    }
  });
  std::string bad;
  ASSERT_TRUE(writer.RunWhile([&] {
    for (int i = 0; i < 300 && bad.empty(); ++i) {
      const std::string now = Load();
      if (NumberOf(now) < 0) bad = now.substr(0, 40);
    }
  }));
  EXPECT_EQ(bad, "") << "a read while another process wrote";
}

}  // namespace
}  // namespace hv
