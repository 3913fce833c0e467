#pragma once
// Owners for SQLite's two handle kinds, so that no error path forgets a close or finalize.

#include <sqlite3.h>

#include "common/unique_any.h"

namespace hv::platform {

using SqliteDb = UniqueAny<sqlite3*, &::sqlite3_close_v2>;
using SqliteStmt = UniqueAny<sqlite3_stmt*, &::sqlite3_finalize>;

// Prepares one statement; on failure `out` is empty and the SQLite result code is returned.
inline int Prepare(sqlite3* db, const char* sql, SqliteStmt& out) {
  return ::sqlite3_prepare_v2(db, sql, -1, out.put(), nullptr);
}

// Runs statements that return no rows, such as BEGIN and COMMIT.
inline int Exec(sqlite3* db, const char* sql) {
  return ::sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

}  // namespace hv::platform
