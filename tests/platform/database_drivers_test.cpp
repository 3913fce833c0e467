// Which driver each kind of game database is offered to, in which order.

#include "platform/database_drivers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using hv::platform::GameDatabaseConnectionStrings;
using hv::platform::GameDatabaseKind;
using hv::platform::GameDatabaseKindOf;

TEST(DatabaseDrivers, KindFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(GameDatabaseKindOf("C:\\Zenvora\\games.mdb"), GameDatabaseKind::kJet);
  EXPECT_EQ(GameDatabaseKindOf("C:\\Zenvora\\GAMES.MDB"), GameDatabaseKind::kJet);
  EXPECT_EQ(GameDatabaseKindOf("games.AccDb"), GameDatabaseKind::kAccdb);
  EXPECT_EQ(GameDatabaseKindOf("games.db"), GameDatabaseKind::kSqlite);
  EXPECT_EQ(GameDatabaseKindOf("games.mdb.db"), GameDatabaseKind::kSqlite);
  EXPECT_EQ(GameDatabaseKindOf("mdb"), GameDatabaseKind::kSqlite);
  EXPECT_EQ(GameDatabaseKindOf(""), GameDatabaseKind::kSqlite);
}

TEST(DatabaseDrivers, JetDatabaseTriesJetThenAce) {
  const std::vector<std::u16string> want = {
      u"Driver={Microsoft Access Driver (*.mdb)};Dbq=C:\\Zenvora\\g\u00e9mes.mdb;",
      u"Driver={Microsoft Access Driver (*.mdb, *.accdb)};Dbq=C:\\Zenvora\\g\u00e9mes.mdb;"};
  EXPECT_EQ(GameDatabaseConnectionStrings(GameDatabaseKind::kJet, u"C:\\Zenvora\\g\u00e9mes.mdb"),
            want);
}

TEST(DatabaseDrivers, AccdbAndSqliteHaveOneDriverEach) {
  EXPECT_EQ(GameDatabaseConnectionStrings(GameDatabaseKind::kAccdb, u"D:\\x.accdb"),
            std::vector<std::u16string>{
                u"Driver={Microsoft Access Driver (*.mdb, *.accdb)};Dbq=D:\\x.accdb;"});
  EXPECT_EQ(GameDatabaseConnectionStrings(GameDatabaseKind::kSqlite, u"/tmp/games.db"),
            std::vector<std::u16string>{u"Driver=SQLite3;Database=/tmp/games.db;"});
}

}  // namespace
