#include "platform/database_drivers.h"

#include <utility>

#include "common/upper_case.h"

namespace hv::platform {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() &&
         UpperCase1252(text.substr(text.size() - tail.size())) == UpperCase1252(tail);
}

DriverConnection Access(std::u16string_view driver, std::u16string_view path) {
  std::u16string c = u"Driver={";
  c += driver;
  c += u"};Dbq=";
  c += path;
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
  c += u";Database=";
  c += path;
  c += u";";
  return {{std::u16string(kSqliteDriver), std::move(c)}};
}

}  // namespace hv::platform
