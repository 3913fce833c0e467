// Which driver each kind of game database is offered to, in which order.

#include "platform/database_drivers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using hv::platform::DriverConnection;
using hv::platform::GameDatabaseConnections;
using hv::platform::GameDatabaseKind;
using hv::platform::GameDatabaseKindOf;

TEST(DatabaseDriversTest, KindFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(GameDatabaseKindOf("C:\\Zenvora\\games.mdb"), GameDatabaseKind::kJet);
  EXPECT_EQ(GameDatabaseKindOf("C:\\Zenvora\\GAMES.MDB"), GameDatabaseKind::kJet);
  EXPECT_EQ(GameDatabaseKindOf("games.AccDb"), GameDatabaseKind::kAccdb);
  EXPECT_EQ(GameDatabaseKindOf("games.db"), GameDatabaseKind::kSqlite);
  EXPECT_EQ(GameDatabaseKindOf("games.mdb.db"), GameDatabaseKind::kSqlite);
  EXPECT_EQ(GameDatabaseKindOf("mdb"), GameDatabaseKind::kSqlite);
  EXPECT_EQ(GameDatabaseKindOf(""), GameDatabaseKind::kSqlite);
}

TEST(DatabaseDriversTest, JetDatabaseTriesJetThenAce) {
  const std::u16string path = u"C:\\Zenvora\\g\u00e9mes.mdb";
  const std::vector<DriverConnection> want = {
      {u"Microsoft Access Driver (*.mdb)",
       u"Driver={Microsoft Access Driver (*.mdb)};Dbq={C:\\Zenvora\\g\u00e9mes.mdb};"},
      {u"Microsoft Access Driver (*.mdb, *.accdb)",
       u"Driver={Microsoft Access Driver (*.mdb, *.accdb)};Dbq={C:\\Zenvora\\g\u00e9mes.mdb};"}};
  EXPECT_EQ(GameDatabaseConnections(GameDatabaseKind::kJet, path), want);
}

TEST(DatabaseDriversTest, AccdbAndSqliteHaveOneDriverEach) {
  const std::vector<DriverConnection> accdb = {
      {u"Microsoft Access Driver (*.mdb, *.accdb)",
       u"Driver={Microsoft Access Driver (*.mdb, *.accdb)};Dbq={D:\\x.accdb};"}};
  EXPECT_EQ(GameDatabaseConnections(GameDatabaseKind::kAccdb, u"D:\\x.accdb"), accdb);
  const std::vector<DriverConnection> sqlite = {
      {u"SQLite3", u"Driver=SQLite3;Database=/tmp/games.db;"}};
  EXPECT_EQ(GameDatabaseConnections(GameDatabaseKind::kSqlite, u"/tmp/games.db"), sqlite);
}

TEST(DatabaseDriversTest, AccessPathsAreBracedWithTheirClosingBracesDoubled) {
  // Unbraced, the ';' would end the path and "x=1" would be read as an attribute of its own.
  const std::vector<DriverConnection> accdb = {
      {u"Microsoft Access Driver (*.mdb, *.accdb)",
       u"Driver={Microsoft Access Driver (*.mdb, *.accdb)};Dbq={D:\\a;x=1 {b}}\\g.accdb};"}};
  EXPECT_EQ(GameDatabaseConnections(GameDatabaseKind::kAccdb, u"D:\\a;x=1 {b}\\g.accdb"), accdb);
}

}  // namespace
