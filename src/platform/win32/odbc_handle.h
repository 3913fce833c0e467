#pragma once
// Owners of the ODBC handles. Each kind is freed as its own kind, and a connection that was
// made is closed apart from its handle: its owner is declared after the handle's, so it goes
// first.

#include <windows.h>

#include <sql.h>

#include "common/unique_any.h"

namespace hv::platform::win32 {

template <SQLSMALLINT Kind>
void FreeOdbcHandle(SQLHANDLE handle) noexcept {
  ::SQLFreeHandle(Kind, handle);
}

using UniqueOdbcEnv = UniqueAny<SQLHANDLE, &FreeOdbcHandle<SQL_HANDLE_ENV>>;
using UniqueOdbcDbc = UniqueAny<SQLHANDLE, &FreeOdbcHandle<SQL_HANDLE_DBC>>;
using UniqueOdbcStmt = UniqueAny<SQLHANDLE, &FreeOdbcHandle<SQL_HANDLE_STMT>>;
// The connection made on a connection handle (SQLDriverConnect succeeded).
using UniqueOdbcConnection = UniqueAny<SQLHDBC, &::SQLDisconnect>;

}  // namespace hv::platform::win32
