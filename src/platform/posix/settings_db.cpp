#include "platform/posix/settings_db.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/text.h"
#include "platform/posix/home_folder.h"
#include "platform/registry.h"

namespace hv::platform {

namespace {

// Long enough to ride out another process's write; short enough that a stuck lock ends in a
// failed setting rather than a hung caller.
constexpr int kBusyTimeoutMs = 10000;
constexpr int kSchemaVersion = 1;

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS reg_keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER NOT NULL,
  name TEXT NOT NULL,
  fold TEXT NOT NULL,
  UNIQUE(parent, fold));
CREATE TABLE IF NOT EXISTS reg_values(
  key INTEGER NOT NULL REFERENCES reg_keys(id),
  name TEXT NOT NULL,
  fold TEXT NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, fold)) WITHOUT ROWID;
INSERT OR IGNORE INTO reg_keys(id, parent, name, fold) VALUES
  (1, 0, 'HKEY_CLASSES_ROOT', 'HKEY_CLASSES_ROOT'),
  (2, 0, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'),
  (3, 0, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'),
  (4, 0, 'HKEY_USERS', 'HKEY_USERS');
PRAGMA user_version = 1;
)sql";

int SchemaVersion(sqlite3* db, int& version) {
  SqliteStmt stmt;
  int rc = Prepare(db, "PRAGMA user_version", stmt);
  if (rc != SQLITE_OK) return rc;
  rc = ::sqlite3_step(stmt.get());
  if (rc != SQLITE_ROW) return rc;
  version = ::sqlite3_column_int(stmt.get(), 0);
  return SQLITE_OK;
}

// Creates the tables once; the write lock is taken only for a file that lacks them.
int EnsureSchema(sqlite3* db) {
  int version = 0;
  int rc = SchemaVersion(db, version);
  if (rc != SQLITE_OK || version == kSchemaVersion) return rc;
  rc = Exec(db, "BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return rc;
  rc = Exec(db, kSchema);
  if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
  if (rc != SQLITE_OK) Exec(db, "ROLLBACK");
  return rc;
}

}  // namespace

std::string SettingsDbPath() {
  if (const char* db = std::getenv("HV_SETTINGS_DB"); db != nullptr && *db != '\0') return db;
  std::filesystem::path base;
  // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    const std::string home = HomeFolder();
    base = std::filesystem::path(home.empty() ? "." : home) / ".config";
  }
  return (base / "hv" / "settings.db").string();
}

std::int32_t StatusFromSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
      return kRegOk;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return kRegBusy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return kRegAccessDenied;
    case SQLITE_CANTOPEN:
      return kRegCantOpen;
    case SQLITE_FULL:
      return 112;  // disk full
    case SQLITE_NOMEM:
      return 14;  // out of memory
    case SQLITE_IOERR:
      return kRegCantWrite;
    default:
      return kRegBadDb;  // corrupt, not a database, or anything unexpected
  }
}

std::string FoldName(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) {
    const auto b = static_cast<unsigned char>(c);
    unsigned char u = b;
    if (b >= 'a' && b <= 'z') {
      u = static_cast<unsigned char>(b - 0x20);
    } else if (b >= 0xE0 && b <= 0xFE && b != 0xF7) {  // à..þ except ÷
      u = static_cast<unsigned char>(b - 0x20);
    } else if (b == 0x9A || b == 0x9C || b == 0x9E) {  // š œ ž
      u = static_cast<unsigned char>(b - 0x10);
    } else if (b == 0xFF) {  // ÿ
      u = 0x9F;
    }
    c = static_cast<char>(u);
  }
  return Cp1252ToUtf8(upper);
}

std::string SettingsDbProblem() {
  const char* named = std::getenv("HV_SETTINGS_DB");
  if (named == nullptr || *named == '\0') return {};
  const std::filesystem::path folder = std::filesystem::path(named).parent_path();
  if (folder.empty()) return {};  // the current folder
  std::error_code ec;
  const auto st = std::filesystem::status(folder, ec);
  if (std::filesystem::is_directory(st)) return {};
  return std::string("HV_SETTINGS_DB names ") + named + ", but its folder " + folder.string() +
         (std::filesystem::exists(st) ? " is not a folder" : " does not exist");
}

std::int32_t OpenSettingsDb(SqliteDb& db) {
  db.reset();
  const std::filesystem::path path = SettingsDbPath();
  // A file named by the user is taken as named: a mistyped folder must not be made.
  if (!SettingsDbProblem().empty()) return kRegCantOpen;
  const char* named = std::getenv("HV_SETTINGS_DB");
  if ((named == nullptr || *named == '\0') && path.has_parent_path()) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) return kRegCantOpen;
  }
  SqliteDb opened;  // a failed open still hands back a handle to close
  int rc = ::sqlite3_open_v2(path.c_str(), opened.put(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
  if (rc != SQLITE_OK) return StatusFromSqlite(rc);
  sqlite3* raw = opened.get();
  ::sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  // Write-ahead logging lets readers go on while another process writes; where the file
  // system cannot do it, the rollback journal keeps the file whole just as well.
  Exec(raw, "PRAGMA journal_mode=WAL");
  Exec(raw, "PRAGMA synchronous=NORMAL");
  rc = EnsureSchema(raw);
  if (rc != SQLITE_OK) return StatusFromSqlite(rc);
  db = std::move(opened);
  return kRegOk;
}

}  // namespace hv::platform
