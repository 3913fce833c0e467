#pragma once
// Owners for SQLite's two handle kinds, so that no error path forgets a close or finalize.

#include <sqlite3.h>

#include <memory>

namespace hv::platform {

struct SqliteCloser {
  void operator()(sqlite3* db) const noexcept { ::sqlite3_close_v2(db); }
};
struct SqliteFinalizer {
  void operator()(sqlite3_stmt* stmt) const noexcept { ::sqlite3_finalize(stmt); }
};

using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStmt = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// Prepares one statement; on failure `out` is empty and the SQLite result code is returned.
inline int Prepare(sqlite3* db, const char* sql, SqliteStmt& out) {
  sqlite3_stmt* raw = nullptr;
  const int rc = ::sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
  out.reset(raw);
  return rc;
}

// Runs statements that return no rows, such as BEGIN and COMMIT.
inline int Exec(sqlite3* db, const char* sql) {
  return ::sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

}  // namespace hv::platform
