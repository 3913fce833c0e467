#include <gtest/gtest.h>

#include <filesystem>

#include "common/error.h"
#include "common/upper_case.h"
#include "halvane/functions/hvFunctions.h"
#include "halvane/functions/scripted_ui.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using hv::Variant;
using hv::halvane::hvFunctions;
using hv::platform::button::kCancel;
using hv::platform::button::kOk;

class CdRomTest : public ::testing::Test {
 protected:
  hv::test::ScriptedUi ui;
  hvFunctions f{ui};
  hv::test::TempDir dir;
  hv::test::CurrentDirGuard cwd;
};

TEST_F(CdRomTest, UnlabelledVolumeMatchesAnEmptyName) {
  EXPECT_TRUE(f.WaitForCDRom(dir.path().string(), ""));
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(ui.pumps, 1);
}

TEST_F(CdRomTest, WrongLabelPromptsUntilCancel) {
  const std::string root = dir.path().string() + "/drive";
  ui.answers = {kOk, kOk, kCancel};
  EXPECT_FALSE(f.WaitForCDRom(root, "GAMES1"));
  ASSERT_EQ(ui.shown.size(), 3u);
  EXPECT_EQ(ui.pumps, 3);
  for (const auto& box : ui.shown) {
    EXPECT_EQ(box.text, "Insert CD: 'GAMES1' into Drive " + hv::UpperCase1252(root));
    EXPECT_EQ(box.caption, "Zenvora");
    EXPECT_EQ(box.style, 1);
  }
}

TEST_F(CdRomTest, PathThatExistsBecomesCurrentWithoutPrompt) {
  const fs::path sub = dir / "C64";
  fs::create_directory(sub);
  EXPECT_TRUE(f.WaitForCDRomPath(Variant(sub.string())));
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(fs::current_path(), sub);
}

TEST_F(CdRomTest, PathAppearingAfterThePromptIsAccepted) {
  const fs::path sub = dir / "LATER";
  struct Inserting : hv::test::ScriptedUi {
    fs::path folder;
    int Show(const std::string& t, const std::string& c, int s) override {
      fs::create_directory(folder);
      return ScriptedUi::Show(t, c, s);
    }
  } inserting;
  inserting.folder = sub;
  inserting.answers = {kOk};
  hvFunctions g{inserting};
  EXPECT_TRUE(g.WaitForCDRomPath(Variant(sub.string())));
  ASSERT_EQ(inserting.shown.size(), 1u);
  EXPECT_EQ(inserting.shown[0].text, "Insert the CD for Path: '" + sub.string() + "'");
}

TEST_F(CdRomTest, MissingFileCancelledAtFirstPrompt) {
  const std::string file = (dir / "A.D64").string();
  EXPECT_FALSE(f.WaitForCDRomFile(Variant(file)));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, "Insert the CD for File: '" + file + "'");
  hv::test::WriteFile(file, std::string("x"));
  EXPECT_TRUE(f.WaitForCDRomFile(Variant(file)));
  EXPECT_EQ(ui.shown.size(), 1u);
}

TEST_F(CdRomTest, NullPathRaisesBeforeAnyPrompt) {
  for (auto wait : {&hvFunctions::WaitForCDRomPath, &hvFunctions::WaitForCDRomFile}) {
    try {
      (f.*wait)(Variant(Variant::Null{}));
      FAIL() << "no error";
    } catch (const hv::Error& e) {
      EXPECT_EQ(e.Number(), hv::vberr::kInvalidUseOfNull);
    }
  }
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(ui.pumps, 0);
}

}  // namespace
