#include "platform/database_drivers.h"

#include "common/upper_case.h"

namespace hv::platform {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() &&
         UpperCase1252(text.substr(text.size() - tail.size())) == UpperCase1252(tail);
}

std::u16string WithDriver(std::u16string_view driver, std::u16string_view file_key,
                          std::u16string_view path) {
  std::u16string s = u"Driver={";
  s += driver;
  s += u"};";
  s += file_key;
  s += u"=";
  s += path;
  s += u";";
  return s;
}

}  // namespace

GameDatabaseKind GameDatabaseKindOf(std::string_view file) {
  if (EndsWithNoCase(file, ".mdb")) return GameDatabaseKind::kJet;
  if (EndsWithNoCase(file, ".accdb")) return GameDatabaseKind::kAccdb;
  return GameDatabaseKind::kSqlite;
}

std::vector<std::u16string> GameDatabaseConnectionStrings(GameDatabaseKind kind,
                                                          std::u16string_view path) {
  switch (kind) {
    case GameDatabaseKind::kJet:
      return {WithDriver(kJetDriver, u"Dbq", path), WithDriver(kAceDriver, u"Dbq", path)};
    case GameDatabaseKind::kAccdb:
      return {WithDriver(kAceDriver, u"Dbq", path)};
    case GameDatabaseKind::kSqlite:
      break;
  }
  return {u"Driver=" + std::u16string(kSqliteDriver) + u";Database=" + std::u16string(path) + u";"};
}

}  // namespace hv::platform
