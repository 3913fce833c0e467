#pragma once
// Which ODBC drivers may open the front-end's game database, by the file's extension, and the
// connection strings to try in order.

#include <string>
#include <string_view>
#include <vector>

namespace hv::platform {

enum class GameDatabaseKind {
  kJet,    // .mdb
  kAccdb,  // .accdb
  kSqlite  // anything else
};

// By the extension of `file` (core text), in any letter case.
GameDatabaseKind GameDatabaseKindOf(std::string_view file);

inline constexpr std::u16string_view kJetDriver = u"Microsoft Access Driver (*.mdb)";
inline constexpr std::u16string_view kAceDriver = u"Microsoft Access Driver (*.mdb, *.accdb)";
inline constexpr std::u16string_view kSqliteDriver = u"SQLite3";

// One way to open a database: the ODBC driver's name and the connection string naming it.
struct DriverConnection {
  std::u16string driver;
  std::u16string connection;
  bool operator==(const DriverConnection&) const = default;
};

// The ways to open a database of `kind` at `path` (as its driver opens it), in the order to try
// them. A .mdb names the Jet driver first, which 32-bit Windows carries, then ACE, the only one
// a 64-bit process finds; a .accdb only ACE opens.
std::vector<DriverConnection> GameDatabaseConnections(GameDatabaseKind kind,
                                                      std::u16string_view path);

}  // namespace hv::platform
