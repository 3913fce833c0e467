// Game-file names from archives made by zip that would break SQL text built by hand: quotes,
// statement ends, comment starts and non-ASCII letters. They are stored as given, found again,
// and forgotten again, and nothing else in the database changes. A '"' cannot be in a listed
// name (the unzip makes it '_'), so it comes in rows written by others.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <utility>
#include <vector>

#include "extract_fixture.h"
#include "platform/game_database.h"
#include "platform/posix/sqlite_handle.h"
#include "support/tools.h"

namespace hv::tessary::test {
namespace {

using hv::test::ToolPath;

// Name on disk (the bytes zip stores, read back as code page 437), name as the core lists it
// (Windows-1252), name as the SQLite file holds it (UTF-8).
struct Hostile {
  std::string on_disk, core, utf8;
};

const std::vector<Hostile>& HostileNames() {
  static const std::vector<Hostile> names = {
      {"x'); DROP TABLE Archive; --.prg", "x'); DROP TABLE Archive; --.prg",
       "x'); DROP TABLE Archive; --.prg"},
      {"a;b -- c.prg", "a;b -- c.prg", "a;b -- c.prg"},
      {"it''s.prg", "it''s.prg", "it''s.prg"},
      {"caf\x82-\x9c.prg", "caf\xe9-\xa3.prg", "caf\xc3\xa9-\xc2\xa3.prg"},
  };
  return names;
}

class ExtractDatabaseNamesTest : public ExtractTest {
 protected:
  void SetUp() override {
    HV_REQUIRE_TOOL(ToolPath(HV_ZIP_TOOL));
    db = (tmp / "games.db").string();
    platform::CreateGameDatabase(db);
    std::vector<fs::path> files = {Store("plain.prg", "p")};
    for (const Hostile& h : HostileNames()) files.push_back(Store(h.on_disk, h.on_disk));
    archive = Zip("hostile.zip", files);
    ASSERT_EQ(sqlite3_open(db.c_str(), raw.put()), SQLITE_OK);
    // A bystander row of another game, which no step here may touch.
    Exec("INSERT INTO Archive (GA_ID, FileToRun) VALUES (999, 'plain.prg')");
  }
  void Exec(const std::string& sql) {
    EXPECT_EQ(sqlite3_exec(raw.get(), sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  }
  // Every (GA_ID, FileToRun) of "Archive" in row order, read past the code under test.
  std::vector<std::pair<int, std::string>> Rows() {
    std::vector<std::pair<int, std::string>> rows;
    platform::SqliteStmt stmt;
    EXPECT_EQ(sqlite3_prepare_v2(raw.get(), "SELECT GA_ID, FileToRun FROM Archive ORDER BY rowid",
                                 -1, stmt.put(), nullptr),
              SQLITE_OK);
    while (stmt && sqlite3_step(stmt.get()) == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(stmt.get(), 1);
      rows.emplace_back(sqlite3_column_int(stmt.get(), 0),
                        std::string(reinterpret_cast<const char*>(text),
                                    static_cast<std::size_t>(sqlite3_column_bytes(stmt.get(), 1))));
    }
    return rows;
  }
  std::string db;
  fs::path archive;
  platform::SqliteDb raw;
  int game = 0;
};

TEST_F(ExtractDatabaseNamesTest, ChosenNamesAreStoredFoundAndForgottenExactly) {
  std::vector<std::pair<int, std::string>> want = {{999, "plain.prg"}};
  for (const Hostile& h : HostileNames()) {
    SCOPED_TRACE(h.core);
    ++game;
    chooser.answers = {h.core};
    Outcome o = Extract(archive, "Zenvora", game, "", db);
    ASSERT_TRUE(o.ok) << o.fail;
    EXPECT_EQ(o.file, (work() / "ReZip").string() + "/" + h.core);
    want.emplace_back(game, h.utf8);
    EXPECT_EQ(Rows(), want);

    // Asked again, the database answers by itself with the same file.
    const std::size_t asked = chooser.offered.size();
    o = Extract(archive, "Zenvora", game, "", db);
    ASSERT_TRUE(o.ok) << o.fail;
    EXPECT_EQ(o.file, (work() / "ReZip").string() + "/" + h.core);
    EXPECT_EQ(chooser.offered.size(), asked);
    EXPECT_EQ(platform::OpenGameDatabase(db)->FirstArchiveRow(game)->file_to_run, h.core);
  }

  // An archive without those names: each stale row goes, and only that row.
  const fs::path other = Zip("other.zip", {Store("one.prg", "1"), Store("two.prg", "2")});
  for (game = 1; game <= static_cast<int>(HostileNames().size()); ++game) {
    const Outcome o = Extract(other, "Zenvora", game, "", db);
    EXPECT_FALSE(o.ok);
    want.erase(want.begin() + 1);
    EXPECT_EQ(Rows(), want);
  }
  EXPECT_EQ(Rows(), (std::vector<std::pair<int, std::string>>{{999, "plain.prg"}}));
}

TEST_F(ExtractDatabaseNamesTest, RowsWrittenByOthersAreMatchedAsText) {
  // The front-end's own rows, written with the names in upper case.
  platform::SqliteStmt insert;
  ASSERT_EQ(sqlite3_prepare_v2(raw.get(), "INSERT INTO Archive (GA_ID, FileToRun) VALUES (?, ?)",
                               -1, insert.put(), nullptr),
            SQLITE_OK);
  int id = 0;
  for (const Hostile& h : HostileNames()) {
    std::string upper = h.utf8;
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    sqlite3_bind_int(insert.get(), 1, ++id);
    sqlite3_bind_text(insert.get(), 2, upper.c_str(), -1, SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(insert.get()), SQLITE_DONE);
    sqlite3_reset(insert.get());
  }
  insert.reset();
  const auto before = Rows();
  id = 0;
  for (const Hostile& h : HostileNames()) {
    SCOPED_TRACE(h.core);
    const Outcome o = Extract(archive, "Zenvora", ++id, "", db);
    ASSERT_TRUE(o.ok) << o.fail;
    EXPECT_EQ(o.file, (work() / "ReZip").string() + "/" + h.core);  // as listed
  }
  EXPECT_TRUE(chooser.offered.empty());
  EXPECT_EQ(Rows(), before);
}

TEST_F(ExtractDatabaseNamesTest, StaleRowWithDoubleQuotesGoesAlone) {
  Exec("INSERT INTO Archive (GA_ID, FileToRun) VALUES (5, 'say \"hi\"; --.prg')");
  Exec("INSERT INTO Archive (GA_ID, FileToRun) VALUES (6, 'say \"hi\"; --.prg')");
  chooser.answers = {""};
  const Outcome o = Extract(archive, "Zenvora", 5, "", db);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(chooser.offered.size(), 1u);
  EXPECT_EQ(Rows(), (std::vector<std::pair<int, std::string>>{{999, "plain.prg"},
                                                              {6, "say \"hi\"; --.prg"}}));
}

}  // namespace
}  // namespace hv::tessary::test
