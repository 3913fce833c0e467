// ChangeConfigFile killed at random points: the file always holds exactly the text before or
// the text after one complete edit.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "halvane/functions/config_editor.h"
#include "halvane/functions/hvFunctions.h"
#include "killed_writer.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace hv::halvane {
namespace {

constexpr int kLines = 2000;  // about 200 KB: a write takes a while
constexpr int kRounds = 60;

std::string Key(int i) {
  return "Key" + std::to_string(1000 + i);
}

std::string BaseText() {
  std::string text;
  for (int i = 0; i < kLines; ++i) text += Key(i) + "=" + std::string(90, 'v') + "\r\n";
  return text;
}

// The same keys each time, spread over the file, with one of two values.
ConfigFileArray Entries(char fill) {
  ConfigFileArray entries;
  for (int i = 0; i < kLines; i += 100) entries.items.push_back({Key(i), std::string(90, fill)});
  return entries;
}

std::string ReadText(const std::filesystem::path& path) {
  const test::Bytes bytes = test::ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// Names in `dir` other than `keep`.
std::vector<std::string> Others(const std::filesystem::path& dir, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name != keep) names.push_back(name);
  }
  return names;
}

TEST(ConfigCrashTest, KilledWritersLeaveTheOldOrTheNewFileWhole) {
  test::TempDir dir;
  const auto path = dir / "game.ini";
  const std::string text_a = EditConfigText(BaseText(), Entries('A').items);
  const std::string text_b = EditConfigText(text_a, Entries('B').items);
  ASSERT_NE(text_a, text_b);
  ASSERT_EQ(EditConfigText(text_b, Entries('A').items), text_a);
  test::WriteFile(path, text_a);

  hvFunctions functions;
  const auto one_write =
      test::MedianDuration([&] { functions.ChangeConfigFile(path.string(), Entries('A')); }, 5);
  ASSERT_EQ(ReadText(path), text_a);

  test::KilledWriter writer([&] {
    for (;;) {
      functions.ChangeConfigFile(path.string(), Entries('B'));
      functions.ChangeConfigFile(path.string(), Entries('A'));
    }
  });
  const auto max_delay = std::max(one_write * 3, std::chrono::microseconds(20000));
  std::size_t orphans = 0;
  int saw_a = 0, saw_b = 0;
  for (int round = 0; round < kRounds; ++round) {
    ASSERT_TRUE(writer.Round(max_delay)) << "the writer ended on its own; seed " << writer.seed();
    const std::string now = ReadText(path);
    ASSERT_TRUE(now == text_a || now == text_b) << "round " << round << ": " << now.size()
                                                << " bytes, neither text; seed " << writer.seed();
    (now == text_a ? saw_a : saw_b)++;
    const auto others = Others(dir.path(), "game.ini");
    for (const std::string& name : others) {
      EXPECT_EQ(name.rfind(".game.ini.", 0), 0u) << "unexpected file " << name;
    }
    // A killed writer can leave its own temporary file, never more than that.
    ASSERT_LE(others.size(), orphans + 1) << "round " << round;
    orphans = others.size();
  }
  // The writers must really have written; which text a kill leaves depends on the machine's
  // load, so the old text is counted, not required.
  EXPECT_GT(saw_b, 0);
  std::cout << "[ info ] " << kRounds << " killed writers (one write ~" << one_write.count()
            << " us): old text " << saw_a << ", new text " << saw_b << ", orphaned temporary files "
            << orphans << "\n";
  // The file stays usable for the next edit.
  functions.ChangeConfigFile(path.string(), Entries('A'));
  EXPECT_EQ(ReadText(path), text_a);
}

}  // namespace
}  // namespace hv::halvane
