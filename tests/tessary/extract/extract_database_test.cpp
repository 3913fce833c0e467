// The choice remembered in the game database: only for the front-end named exactly "Zenvora".

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "extract_fixture.h"
#include "platform/game_database.h"
#include "platform/posix/sqlite_handle.h"
#include "support/tools.h"

namespace hv::tessary::test {
namespace {

using hv::test::ToolPath;

class ExtractDatabaseTest : public ExtractTest {
 protected:
  void SetUp() override {
    HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
    db = (tmp / "games.db").string();
    platform::CreateGameDatabase(db);
    three = Zip("three.zip", {Store("a.prg", "a"), Store("b.prg", "b"), Store("c.prg", "c")});
  }
  void Sql(const std::string& sql) {
    platform::SqliteDb raw;
    ASSERT_EQ(sqlite3_open(db.c_str(), raw.put()), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw.get(), sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  }
  std::optional<platform::ArchiveRow> Row(std::int32_t id) {
    return platform::OpenGameDatabase(db)->FirstArchiveRow(id);
  }
  std::string db;
  fs::path three;
};

TEST_F(ExtractDatabaseTest, RemembersReusesAndForgetsAChoice) {
  chooser.answers = {"b.prg"};
  Outcome o = Extract(three, "Zenvora", 42, "", db);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/b.prg"));
  ASSERT_TRUE(Row(42));
  EXPECT_EQ(Row(42)->file_to_run, "b.prg");

  // Asked again: the database answers, the chooser is not shown.
  o = Extract(three, "Zenvora", 42, "", db);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/b.prg"));
  EXPECT_EQ(chooser.offered.size(), 1u);

  // The archive no longer holds b.prg: the row goes and the chooser asks again.
  const fs::path other = Zip("other.zip", {Store("x.prg", "x"), Store("y.prg", "y")});
  o = Extract(other, "Zenvora", 42, "", db);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(chooser.offered.size(), 2u);
  EXPECT_FALSE(Row(42));
}

TEST_F(ExtractDatabaseTest, RememberedNameMatchesIgnoringCase) {
  Sql("INSERT INTO Archive (GA_ID, FileToRun) VALUES (5, 'C.PRG')");
  const Outcome o = Extract(three, "Zenvora", 5, "", db);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/c.prg"));  // as listed, not as remembered
  EXPECT_TRUE(chooser.offered.empty());
}

TEST_F(ExtractDatabaseTest, OmittedGameIdIsZero) {
  Sql("INSERT INTO Archive (GA_ID, FileToRun) VALUES (0, 'a.prg')");
  const Outcome o = ExtractDefaultId(three, "Zenvora", db);
  ASSERT_TRUE(o.ok) << o.fail;
  EXPECT_EQ(o.file, W("ReZip/a.prg"));
}

TEST_F(ExtractDatabaseTest, OtherSpellingsNeverTouchTheDatabase) {
  Sql("INSERT INTO Archive (GA_ID, FileToRun) VALUES (1, 'a.prg')");
  for (const char* from : {"zenvora", "ZENVORA", "Zenvora ", ""}) {
    chooser.answers = {"c.prg"};
    const Outcome o = Extract(three, from, 1, "", (tmp / "missing.db").string());
    ASSERT_TRUE(o.ok) << from << ": " << o.fail;
    EXPECT_EQ(o.file, W("ReZip/c.prg"));
  }
  EXPECT_EQ(Row(1)->file_to_run, "a.prg");
  EXPECT_FALSE(Row(0));
}

TEST_F(ExtractDatabaseTest, DatabaseFailuresAreFailureReports) {
  const std::string prefix = "An error was encountered while extracting this archive: \r\n\r\n";
  Outcome o = Extract(three, "Zenvora", 1, "", (tmp / "missing.db").string());
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.fail.rfind(prefix + "Could not find file", 0), 0u) << o.fail;
  EXPECT_NE(o.fail.find("  (3024)"), std::string::npos);

  Sql("DROP TABLE Archive");
  o = Extract(three, "Zenvora", 1, "", db);
  EXPECT_NE(o.fail.find("has no table 'Archive'.  (3078)"), std::string::npos) << o.fail;

  Sql("CREATE TABLE Archive (GA_ID INTEGER, FileToRun TEXT)");
  Sql("INSERT INTO Archive (GA_ID, FileToRun) VALUES (9, NULL)");
  o = Extract(three, "Zenvora", 9, "", db);
  EXPECT_FALSE(o.ok);
  // The runtime's own text, as every other null gives it.
  EXPECT_EQ(o.fail, prefix + "Invalid use of Null  (94)");
  EXPECT_TRUE(chooser.offered.empty());
}

}  // namespace
}  // namespace hv::tessary::test
