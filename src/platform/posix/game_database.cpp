// The game database as a SQLite file. Text is stored as UTF-8 and handed to the core as
// Windows-1252.

#include <sqlite3.h>
#include <sys/stat.h>

#include <string>

#include "common/error.h"
#include "platform/game_database.h"
#include "platform/posix/native_path.h"
#include "platform/posix/sqlite_handle.h"

namespace hv::platform {
namespace {

[[noreturn]] void ThrowDb(sqlite3* db, const std::string& what) {
  throw Error(vberr::kDeviceIo, what + ": " + (db ? ::sqlite3_errmsg(db) : "out of memory"));
}

SqliteStmt PrepareOrThrow(sqlite3* db, const char* sql) {
  SqliteStmt stmt;
  const int rc = Prepare(db, sql, stmt);
  if (rc == SQLITE_NOTADB) {
    throw Error(kDbUnrecognized, "The game database is not a database file.");
  }
  if (rc != SQLITE_OK) ThrowDb(db, "The game database cannot be read");
  return stmt;
}

void StepToEnd(sqlite3* db, sqlite3_stmt* stmt, const char* what) {
  const int rc = ::sqlite3_step(stmt);
  if (rc != SQLITE_DONE) ThrowDb(db, what);
}

class SqliteGameDatabase : public GameDatabase {
 public:
  explicit SqliteGameDatabase(SqliteDb db) : db_(std::move(db)) {}

  std::optional<ArchiveRow> FirstArchiveRow(std::int32_t game_id) override {
    SqliteStmt stmt = PrepareOrThrow(
        db_.get(), "SELECT rowid, FileToRun FROM Archive WHERE GA_ID = ? ORDER BY rowid LIMIT 1");
    ::sqlite3_bind_int(stmt.get(), 1, game_id);
    const int rc = ::sqlite3_step(stmt.get());
    if (rc == SQLITE_DONE) return std::nullopt;
    if (rc != SQLITE_ROW) ThrowDb(db_.get(), "The game database cannot be read");
    if (::sqlite3_column_type(stmt.get(), 1) == SQLITE_NULL) {
      throw Error(vberr::kInvalidUseOfNull);
    }
    ArchiveRow row;
    row.key = ::sqlite3_column_int64(stmt.get(), 0);
    const auto* text = ::sqlite3_column_text(stmt.get(), 1);
    const int bytes = ::sqlite3_column_bytes(stmt.get(), 1);
    row.file_to_run =
        CorePath(std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes)));
    return row;
  }

  void DeleteArchiveRow(const ArchiveRow& row) override {
    SqliteStmt stmt = PrepareOrThrow(db_.get(), "DELETE FROM Archive WHERE rowid = ?");
    ::sqlite3_bind_int64(stmt.get(), 1, row.key);
    StepToEnd(db_.get(), stmt.get(), "The game database cannot be changed");
  }

  void AddArchiveRow(std::int32_t game_id, const std::string& file_to_run) override {
    SqliteStmt stmt =
        PrepareOrThrow(db_.get(), "INSERT INTO Archive (GA_ID, FileToRun) VALUES (?, ?)");
    ::sqlite3_bind_int(stmt.get(), 1, game_id);
    const std::string utf8 = NativePath(file_to_run);
    ::sqlite3_bind_text(stmt.get(), 2, utf8.data(), static_cast<int>(utf8.size()),
                        SQLITE_TRANSIENT);
    StepToEnd(db_.get(), stmt.get(), "The game database cannot be changed");
  }

 private:
  SqliteDb db_;
};

SqliteDb OpenFile(const std::string& file, int flags) {
  SqliteDb db;  // a failed open still hands back a handle to close
  const int rc = ::sqlite3_open_v2(NativePath(file).c_str(), db.put(), flags, nullptr);
  if (rc != SQLITE_OK) {
    if (rc == SQLITE_CANTOPEN) throw Error(kDbFileNotFound, "Could not find file '" + file + "'.");
    ThrowDb(db.get(), "The game database cannot be opened");
  }
  ::sqlite3_busy_timeout(db.get(), 2000);
  return db;
}

}  // namespace

std::unique_ptr<GameDatabase> OpenGameDatabase(const std::string& file) {
  struct stat st {};
  if (file.empty() || ::stat(NativePath(file).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    throw Error(kDbFileNotFound, "Could not find file '" + file + "'.");
  }
  SqliteDb db = OpenFile(file, SQLITE_OPEN_READWRITE);
  SqliteStmt stmt = PrepareOrThrow(
      db.get(),
      "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'Archive' COLLATE NOCASE");
  const int rc = ::sqlite3_step(stmt.get());
  if (rc == SQLITE_NOTADB)
    throw Error(kDbUnrecognized, "The game database is not a database file.");
  if (rc != SQLITE_ROW) {
    if (rc != SQLITE_DONE) ThrowDb(db.get(), "The game database cannot be read");
    throw Error(kDbTableNotFound, "The game database '" + file + "' has no table 'Archive'.");
  }
  stmt.reset();
  return std::make_unique<SqliteGameDatabase>(std::move(db));
}

void CreateGameDatabase(const std::string& file) {
  SqliteDb db = OpenFile(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (Exec(db.get(), "CREATE TABLE IF NOT EXISTS Archive (GA_ID INTEGER, FileToRun TEXT)") !=
      SQLITE_OK) {
    ThrowDb(db.get(), "The game database cannot be made");
  }
}

}  // namespace hv::platform
