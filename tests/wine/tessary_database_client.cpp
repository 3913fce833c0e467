// Tessary.hvExtract's remembered choices under Wine, through ODBC against a SQLite file made by
// sqlite3: names that SQL text built by hand would break (quotes, statement ends, comment
// starts, non-ASCII letters) are matched and deleted as text, and a .mdb goes to the Jet driver,
// then to ACE. The rows are read back here through ODBC on our own connection.
// argv[1]: the Windows path of the data folder run.sh filled.

#include "support/archive_rows.h"
#include "support/extract_client.h"

using namespace hv::wine;

namespace {

const std::string kQuoteDrop = "x'); DROP TABLE Archive; --.prg";
const std::string kCafe = "caf\xe9-\xa3.prg";  // Windows-1252

bool InputsThere() {
  return InputsMade({"hostile.zip", "hostile.db"});
}

bool WideFileThere(const std::string& path) {
  return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

HV_WINE_TEST(StoredHostileNamesPickTheirFiles) {
  if (!InputsThere()) return;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  const std::string work = Data("work-hostile");
  struct Case {
    int game;
    std::string listed;
  };
  // Rows 2 and 3 were written in another letter case; the result is the name as listed.
  const Case cases[] = {{1, kQuoteDrop}, {2, "a;b -- c.prg"}, {3, "it''s.prg"}, {4, kCafe}};
  for (const Case& c : cases) {
    ExtractCall r =
        RunExtract(x, Input("hostile.zip"), work, "Zenvora", Input("hostile.db"), c.game);
    if (!HV_CHECK(r.found())) std::printf("  game %d: %s\n", c.game, r.fail_info.c_str());
    HV_CHECK_EQ(r.filename, work + "\\ReZip\\" + c.listed);
    HV_CHECK(WideFileThere(r.filename));
  }
  // Nothing was dropped, deleted or added on the way.
  const auto rows = ReadArchiveRows(Input("hostile.db"));
  HV_CHECK_EQ(ShowRows(rows), ShowRows({{1, kQuoteDrop},
                                        {2, "A;B -- C.PRG"},
                                        {3, "IT''S.PRG"},
                                        {4, kCafe},
                                        {5, "say \"hi\".prg"},
                                        {6, "say \"hi\".prg"},
                                        {5, "say \"hi\".prg"}}));
}

HV_WINE_TEST(StaleHostileNameDeletesOnlyItsRow) {
  if (!InputsThere()) return;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  const std::string work = Data("work-stale");
  // No listed name can hold a '"': the row is stale, goes, and the chooser is asked (with no
  // display here it cannot be shown, so nothing is chosen).
  ExtractCall r = RunExtract(x, Input("hostile.zip"), work, "Zenvora", Input("hostile.db"), 5);
  HV_CHECK(IsFalse(r.outcome));
  HV_CHECK_EQ(r.filename, "");
  // Game 5 has the same stale row twice: one goes, as one goes on Linux.
  const auto rows = ReadArchiveRows(Input("hostile.db"));
  HV_CHECK_EQ(rows.size(), 6u);
  HV_CHECK_EQ(ShowRows({rows.begin() + 4, rows.end()}),
              ShowRows({{6, "say \"hi\".prg"}, {5, "say \"hi\".prg"}}));
}

HV_WINE_TEST(DatabasePathWithBracesOpens) {
  if (!InputsThere()) return;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  // Braces and blanks in the path reach the SQLite driver as they are (it takes no braces, so a
  // ';' cannot be given to it).
  const std::string folder = Data("db x=1 {a}");
  CreateDirectoryW(W(folder).c_str(), nullptr);
  const std::string db = folder + "\\games here.db";
  HV_CHECK(CopyFileW(W(Input("hostile.db")).c_str(), W(db).c_str(), FALSE));
  ExtractCall r = RunExtract(x, Input("hostile.zip"), Data("work-semicolon"), "Zenvora", db, 1);
  if (!HV_CHECK(r.found())) std::printf("  %s\n", r.fail_info.c_str());
  HV_CHECK_EQ(r.filename, Data("work-semicolon") + "\\ReZip\\" + kQuoteDrop);
}

HV_WINE_TEST(JetDatabaseTriesJetThenAce) {
  if (!InputsThere()) return;
  Dispatch x = CreateHalvane(L"Tessary.hvExtract");
  // Neither Access driver exists here: the message names both, in the order they were tried.
  const std::string mdb = Data("games.mdb");
  WriteText(mdb, "Standard Jet DB");
  ExtractCall r = RunExtract(x, Input("hostile.zip"), Data("work-mdb"), "Zenvora", mdb, 1);
  HV_CHECK(IsFalse(r.outcome));
  HV_CHECK_EQ(r.fail_info, FailureReport("The game database cannot be opened: no ODBC driver "
                                         "'Microsoft Access Driver (*.mdb)', 'Microsoft Access "
                                         "Driver (*.mdb, *.accdb)' is installed.",
                                         57));
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "tessary_database_client");
}
