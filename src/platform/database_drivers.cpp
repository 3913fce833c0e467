#include "platform/database_drivers.h"

#include <utility>

#include "common/upper_case.h"

namespace hv::platform {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() &&
         UpperCase1252(text.substr(text.size() - tail.size())) == UpperCase1252(tail);
}

// An attribute value between braces, each '}' in it doubled: a ';' or '=' in a path would
// otherwise end the value or start another attribute.
std::u16string Braced(std::u16string_view value) {
  std::u16string braced = u"{";
  for (const char16_t c : value) {
    braced += c;
    if (c == u'}') braced += c;
  }
  braced += u'}';
  return braced;
}

DriverConnection Access(std::u16string_view driver, std::u16string_view path) {
  std::u16string c = u"Driver=";
  c += Braced(driver);
  c += u";Dbq=";
  c += Braced(path);
  c += u";";
  return {std::u16string(driver), std::move(c)};
}

}  // namespace

GameDatabaseKind GameDatabaseKindOf(std::string_view file) {
  if (EndsWithNoCase(file, ".mdb")) return GameDatabaseKind::kJet;
  if (EndsWithNoCase(file, ".accdb")) return GameDatabaseKind::kAccdb;
  return GameDatabaseKind::kSqlite;
}

std::vector<DriverConnection> GameDatabaseConnections(GameDatabaseKind kind,
                                                      std::u16string_view path) {
  switch (kind) {
    case GameDatabaseKind::kJet:
      return {Access(kJetDriver, path), Access(kAceDriver, path)};
    case GameDatabaseKind::kAccdb:
      return {Access(kAceDriver, path)};
    case GameDatabaseKind::kSqlite:
      break;
  }
  std::u16string c = u"Driver=";
  c += kSqliteDriver;
  // The SQLite driver reads the value up to the next ';' and takes no braces.
  c += u";Database=";
  c += path;
  c += u";";
  return {{std::u16string(kSqliteDriver), std::move(c)}};
}

}  // namespace hv::platform
