#pragma once
// The rows of table "Archive" of a SQLite game database, read over ODBC on the client's own
// connection, past the server under test.

#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/odbc_handle.h"
#include "support/halvane_client.h"

namespace hv::wine {

using ArchiveRows = std::vector<std::pair<long, std::string>>;

// The host path of a Z: path, which the SQLite driver opens.
inline std::wstring HostPath(const std::string& windows_path) {
  std::wstring p = W(windows_path.substr(2));
  for (wchar_t& c : p)
    if (c == L'\\') c = L'/';
  return p;
}

// Every (GA_ID, FileToRun) of "Archive" in row order, or one row (-1, error) on failure.
inline ArchiveRows ReadArchiveRows(const std::string& db) {
  using namespace platform::win32;
  UniqueOdbcEnv env;
  UniqueOdbcDbc dbc;
  ArchiveRows rows;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, env.put());
  SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env.get(), dbc.put());
  std::wstring in = L"Driver=SQLite3;Database=" + HostPath(db) + L";";
  std::wstring sql = L"SELECT GA_ID, FileToRun FROM Archive ORDER BY rowid";
  if (!SQL_SUCCEEDED(SQLDriverConnectW(dbc.get(), nullptr, reinterpret_cast<SQLWCHAR*>(in.data()),
                                       SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT))) {
    rows.emplace_back(-1, "no connection");
    return rows;
  }
  const UniqueOdbcConnection connected(dbc.get());
  UniqueOdbcStmt stmt;
  SQLAllocHandle(SQL_HANDLE_STMT, dbc.get(), stmt.put());
  if (!SQL_SUCCEEDED(SQLExecDirectW(stmt.get(), reinterpret_cast<SQLWCHAR*>(sql.data()), SQL_NTS)))
    rows.emplace_back(-1, "no table");
  while (rows.empty() || rows.front().first != -1) {
    if (!SQL_SUCCEEDED(SQLFetch(stmt.get()))) break;
    SQLINTEGER id = 0;
    SQLWCHAR name[512] = {};
    SQLLEN id_len = 0, name_len = 0;
    SQLGetData(stmt.get(), 1, SQL_C_SLONG, &id, 0, &id_len);
    SQLGetData(stmt.get(), 2, SQL_C_WCHAR, name, sizeof name, &name_len);
    rows.emplace_back(id, name_len == SQL_NULL_DATA
                              ? "(null)"
                              : Narrow(std::wstring(name, name + name_len / sizeof(SQLWCHAR))));
  }
  return rows;
}

inline std::string ShowRows(const ArchiveRows& rows) {
  std::string s;
  for (const auto& [id, name] : rows) s += "(" + std::to_string(id) + ", " + name + ") ";
  return s;
}

}  // namespace hv::wine
