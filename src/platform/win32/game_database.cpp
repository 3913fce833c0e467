// The game database through ODBC. A Jet database (.mdb, .accdb) goes to an Access driver, any
// other file to the SQLite driver. Only the wide entry points are used: they are the ones every
// driver manager carries. Every value reaches the driver as a bound parameter, never as SQL
// text: the file names come from archives.

#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "common/error.h"
#include "common/scope_exit.h"
#include "common/text.h"
#include "common/upper_case.h"
#include "platform/database_drivers.h"
#include "platform/game_database.h"
#include "platform/win32/odbc_handle.h"

namespace hv::platform {
namespace {

using win32::UniqueOdbcConnection;
using win32::UniqueOdbcDbc;
using win32::UniqueOdbcEnv;
using win32::UniqueOdbcStmt;

std::wstring Wide(const std::string& text) {
  const std::u16string u = Cp1252ToUtf16(text);
  return std::wstring(u.begin(), u.end());
}

std::string Narrow(const SQLWCHAR* text, std::size_t length) {
  std::u16string u;
  u.reserve(length);
  for (std::size_t i = 0; i < length; ++i) u.push_back(static_cast<char16_t>(text[i]));
  return Utf16ToCp1252(u);
}

// The driver's first diagnostic: its SQL state and message.
std::pair<std::string, std::string> Diagnostic(SQLSMALLINT kind, SQLHANDLE handle) {
  SQLWCHAR state[6] = {};
  SQLWCHAR message[512] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  if (!handle ||
      !SQL_SUCCEEDED(::SQLGetDiagRecW(kind, handle, 1, state, &native, message,
                                      static_cast<SQLSMALLINT>(std::size(message)), &length))) {
    return {"", "no further information"};
  }
  if (length < 0) length = 0;
  if (length >= static_cast<SQLSMALLINT>(std::size(message)))
    length = static_cast<SQLSMALLINT>(std::size(message) - 1);
  return {Narrow(state, 5), Narrow(message, static_cast<std::size_t>(length))};
}

[[noreturn]] void ThrowDb(SQLSMALLINT kind, SQLHANDLE handle, const std::string& what) {
  throw Error(vberr::kDeviceIo, what + ": " + Diagnostic(kind, handle).second);
}

// Under Wine the ODBC drivers are the host's libraries and open host paths; Wine's kernel32
// names the host path of a Windows one. On Windows there is no such entry and the path stays.
std::wstring DriverPath(const std::string& file) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const std::wstring path = Wide(file);
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  auto to_unix = kernel ? reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
                              ::GetProcAddress(kernel, "wine_get_unix_file_name")))
                        : nullptr;
  if (!to_unix) return path;
  char* unix_path = to_unix(path.c_str());
  if (!unix_path) return path;
  const ScopeExit free_unix_path([&] { ::HeapFree(::GetProcessHeap(), 0, unix_path); });
  std::wstring result;
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, unix_path, -1, nullptr, 0);
  if (n > 1) {
    result.resize(static_cast<std::size_t>(n - 1));
    ::MultiByteToWideChar(CP_UTF8, 0, unix_path, -1, result.data(), n);
  }
  return result.empty() ? path : result;
}

std::vector<DriverConnection> Connections(const std::string& file) {
  const GameDatabaseKind kind = GameDatabaseKindOf(file);
  const std::wstring path = kind == GameDatabaseKind::kSqlite ? DriverPath(file) : Wide(file);
  return GameDatabaseConnections(kind, std::u16string(path.begin(), path.end()));
}

std::string Upper(const std::u16string& text) {
  return UpperCase1252(Utf16ToCp1252(text));
}

// The names of the ODBC drivers the driver manager knows, upper-cased: names compare without
// regard to case.
std::vector<std::string> InstalledDrivers(const UniqueOdbcEnv& env) {
  std::vector<std::string> names;
  SQLWCHAR name[256];
  SQLWCHAR attributes[2048];
  SQLSMALLINT name_length = 0;
  SQLSMALLINT attributes_length = 0;
  for (SQLUSMALLINT direction = SQL_FETCH_FIRST;; direction = SQL_FETCH_NEXT) {
    const SQLRETURN rc = ::SQLDriversW(
        env.get(), direction, name, static_cast<SQLSMALLINT>(std::size(name)), &name_length,
        attributes, static_cast<SQLSMALLINT>(std::size(attributes)), &attributes_length);
    if (!SQL_SUCCEEDED(rc)) break;
    if (name_length < 0) name_length = 0;
    if (name_length >= static_cast<SQLSMALLINT>(std::size(name)))
      name_length = static_cast<SQLSMALLINT>(std::size(name) - 1);
    names.push_back(UpperCase1252(Narrow(name, static_cast<std::size_t>(name_length))));
  }
  return names;
}

std::string DriverNames(const std::vector<DriverConnection>& ways) {
  std::string names;
  for (const DriverConnection& way : ways) {
    if (!names.empty()) names += ", ";
    names += "'" + Utf16ToCp1252(way.driver) + "'";
  }
  return names;
}

// Closed in reverse: the connection, then its handle, then the environment.
struct Connection {
  UniqueOdbcEnv env;
  UniqueOdbcDbc dbc;
  UniqueOdbcConnection connected;
};

// Connects through the first of the candidate drivers that is installed, reporting its failure
// as it is. With a single candidate the driver manager is simply asked, so its own message
// tells what is missing.
Connection Connect(const std::string& file) {
  UniqueOdbcEnv env;
  if (!SQL_SUCCEEDED(::SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, env.put())))
    throw Error(vberr::kDeviceIo, "The game database cannot be opened: no ODBC environment.");
  ::SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  const std::vector<DriverConnection> ways = Connections(file);
  const DriverConnection* chosen = &ways.front();
  if (ways.size() > 1) {
    const std::vector<std::string> installed = InstalledDrivers(env);
    const auto found = std::find_if(ways.begin(), ways.end(), [&](const DriverConnection& way) {
      return std::find(installed.begin(), installed.end(), Upper(way.driver)) != installed.end();
    });
    if (found == ways.end()) {
      throw Error(vberr::kDeviceIo, "The game database cannot be opened: no ODBC driver " +
                                        DriverNames(ways) + " is installed.");
    }
    chosen = &*found;
  }
  UniqueOdbcDbc dbc;
  if (!SQL_SUCCEEDED(::SQLAllocHandle(SQL_HANDLE_DBC, env.get(), dbc.put())))
    ThrowDb(SQL_HANDLE_ENV, env.get(), "The game database cannot be opened");
  std::u16string in = chosen->connection;
  SQLWCHAR out[1024] = {};
  SQLSMALLINT out_length = 0;
  const SQLRETURN rc = ::SQLDriverConnectW(
      dbc.get(), nullptr, reinterpret_cast<SQLWCHAR*>(in.data()),
      static_cast<SQLSMALLINT>(in.size()), out, static_cast<SQLSMALLINT>(std::size(out)),
      &out_length, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) ThrowDb(SQL_HANDLE_DBC, dbc.get(), "The game database cannot be opened");
  UniqueOdbcConnection connected(dbc.get());
  return Connection{std::move(env), std::move(dbc), std::move(connected)};
}

UniqueOdbcStmt NewStatement(const UniqueOdbcDbc& dbc) {
  UniqueOdbcStmt stmt;
  if (!SQL_SUCCEEDED(::SQLAllocHandle(SQL_HANDLE_STMT, dbc.get(), stmt.put())))
    ThrowDb(SQL_HANDLE_DBC, dbc.get(), "The game database cannot be read");
  return stmt;
}

// A statement with its parameters: each Bind fills the next "?", and the bound values live as
// long as the statement, since the driver reads them only when it runs.
class Statement {
 public:
  // `what` opens the message of any failure.
  Statement(const UniqueOdbcDbc& dbc, const char* what) : stmt_(NewStatement(dbc)), what_(what) {}

  void Bind(std::int32_t value) {
    Value& v = values_.emplace_back();
    v.number = value;
    Check(::SQLBindParameter(stmt_.get(), Next(), SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                             &v.number, 0, &v.indicator));
  }

  // Core text, handed over as UTF-16.
  void Bind(const std::string& text) {
    Value& v = values_.emplace_back();
    for (char16_t unit : Cp1252ToUtf16(text)) v.text.push_back(static_cast<SQLWCHAR>(unit));
    const std::size_t units = v.text.size();
    v.text.push_back(0);
    v.indicator = static_cast<SQLLEN>(units * sizeof(SQLWCHAR));
    // A Text field of the Access drivers holds up to 255 characters; longer goes as a memo.
    const SQLSMALLINT type = units > 255 ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
    Check(::SQLBindParameter(stmt_.get(), Next(), SQL_PARAM_INPUT, SQL_C_WCHAR, type,
                             units ? units : 1, 0, v.text.data(),
                             static_cast<SQLLEN>(v.text.size() * sizeof(SQLWCHAR)), &v.indicator));
  }

  void Run(const wchar_t* sql) {
    std::wstring text = sql;
    const SQLRETURN rc =
        ::SQLExecDirectW(stmt_.get(), reinterpret_cast<SQLWCHAR*>(text.data()), SQL_NTS);
    // A delete that hits no row answers SQL_NO_DATA; that is not a failure.
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) ThrowDb(SQL_HANDLE_STMT, stmt_.get(), what_);
  }

  SQLHANDLE get() const noexcept { return stmt_.get(); }

 private:
  struct Value {
    SQLINTEGER number = 0;
    std::vector<SQLWCHAR> text;
    SQLLEN indicator = 0;
  };

  SQLUSMALLINT Next() const { return static_cast<SQLUSMALLINT>(values_.size()); }

  void Check(SQLRETURN rc) const {
    if (!SQL_SUCCEEDED(rc)) ThrowDb(SQL_HANDLE_STMT, stmt_.get(), what_);
  }

  // Before the statement, so the statement is freed first; a deque, so binding the next value
  // moves none before it.
  std::deque<Value> values_;
  UniqueOdbcStmt stmt_;
  const char* what_;
};

// Turns autocommit off for its lifetime; what is not committed is rolled back.
class Transaction {
 public:
  explicit Transaction(const UniqueOdbcDbc& dbc) : dbc_(dbc.get()) {
    if (!SQL_SUCCEEDED(::SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT,
                                            reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
      ThrowDb(SQL_HANDLE_DBC, dbc_, "The game database cannot be changed");
  }
  ~Transaction() {
    if (!committed_) ::SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    ::SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                         0);
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Commit() {
    if (!SQL_SUCCEEDED(::SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT)))
      ThrowDb(SQL_HANDLE_DBC, dbc_, "The game database cannot be changed");
    committed_ = true;
  }

 private:
  SQLHANDLE dbc_;
  bool committed_ = false;
};

class OdbcGameDatabase : public GameDatabase {
 public:
  explicit OdbcGameDatabase(Connection c) : c_(std::move(c)) {}

  std::optional<ArchiveRow> FirstArchiveRow(std::int32_t game_id) override {
    Statement stmt(c_.dbc, "The game database cannot be read");
    stmt.Bind(game_id);
    stmt.Run(L"SELECT FileToRun FROM Archive WHERE GA_ID = ?");
    const SQLRETURN rc = ::SQLFetch(stmt.get());
    if (rc == SQL_NO_DATA) return std::nullopt;
    if (!SQL_SUCCEEDED(rc))
      ThrowDb(SQL_HANDLE_STMT, stmt.get(), "The game database cannot be read");
    std::u16string value;
    SQLWCHAR buf[256];
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN got = ::SQLGetData(stmt.get(), 1, SQL_C_WCHAR, buf, sizeof buf, &indicator);
      if (got == SQL_NO_DATA) break;
      if (!SQL_SUCCEEDED(got))
        ThrowDb(SQL_HANDLE_STMT, stmt.get(), "The game database cannot be read");
      if (indicator == SQL_NULL_DATA) {
        throw Error(vberr::kInvalidUseOfNull);
      }
      // A long text comes in pieces, each but the last filling the buffer.
      std::size_t units = std::size(buf) - 1;
      if (indicator != SQL_NO_TOTAL &&
          static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) < units)
        units = static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
      for (std::size_t i = 0; i < units; ++i) value.push_back(static_cast<char16_t>(buf[i]));
      if (got == SQL_SUCCESS) break;
    }
    ArchiveRow row;
    row.key = game_id;
    row.file_to_run = Utf16ToCp1252(value);
    return row;
  }

  // One row goes, as the front-end's engine deletes the row it stands on. ODBC offers no key
  // every driver knows, so the rows holding the same pair are all deleted and all but one put
  // back, in one transaction: a failure in between leaves the table as it was.
  void DeleteArchiveRow(const ArchiveRow& row) override {
    const auto game_id = static_cast<std::int32_t>(row.key);
    const long alike = CountRows(game_id, row.file_to_run);
    if (alike == 0) return;
    Transaction transaction(c_.dbc);
    {
      Statement stmt(c_.dbc, "The game database cannot be changed");
      stmt.Bind(game_id);
      stmt.Bind(row.file_to_run);
      stmt.Run(L"DELETE FROM Archive WHERE GA_ID = ? AND FileToRun = ?");
    }
    for (long kept = 1; kept < alike; ++kept) AddArchiveRow(game_id, row.file_to_run);
    transaction.Commit();
  }

  void AddArchiveRow(std::int32_t game_id, const std::string& file_to_run) override {
    Statement stmt(c_.dbc, "The game database cannot be changed");
    stmt.Bind(game_id);
    stmt.Bind(file_to_run);
    stmt.Run(L"INSERT INTO Archive (GA_ID, FileToRun) VALUES (?, ?)");
  }

 private:
  long CountRows(std::int32_t game_id, const std::string& file_to_run) {
    Statement stmt(c_.dbc, "The game database cannot be read");
    stmt.Bind(game_id);
    stmt.Bind(file_to_run);
    stmt.Run(L"SELECT COUNT(*) FROM Archive WHERE GA_ID = ? AND FileToRun = ?");
    SQLINTEGER count = 0;
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(::SQLFetch(stmt.get())) ||
        !SQL_SUCCEEDED(::SQLGetData(stmt.get(), 1, SQL_C_SLONG, &count, 0, &indicator)))
      ThrowDb(SQL_HANDLE_STMT, stmt.get(), "The game database cannot be read");
    return count;
  }

  Connection c_;
};

bool IsFile(const std::string& file) {
  const DWORD attributes = ::GetFileAttributesW(Wide(file).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether the database has a table "Archive" (any letter case). A file the driver cannot read
// as a database fails here.
bool HasArchiveTable(const UniqueOdbcDbc& dbc) {
  UniqueOdbcStmt stmt = NewStatement(dbc);
  std::wstring type = L"TABLE";
  if (!SQL_SUCCEEDED(::SQLTablesW(stmt.get(), nullptr, 0, nullptr, 0, nullptr, 0,
                                  reinterpret_cast<SQLWCHAR*>(type.data()), SQL_NTS))) {
    throw Error(kDbUnrecognized, "The game database is not a database file.");
  }
  for (;;) {
    const SQLRETURN rc = ::SQLFetch(stmt.get());
    if (rc == SQL_NO_DATA) return false;
    if (!SQL_SUCCEEDED(rc))
      throw Error(kDbUnrecognized, "The game database is not a database file.");
    SQLWCHAR name[256] = {};
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(::SQLGetData(stmt.get(), 3, SQL_C_WCHAR, name, sizeof name, &indicator)) ||
        indicator == SQL_NULL_DATA) {
      continue;
    }
    std::size_t units = 0;
    while (units + 1 < std::size(name) && name[units]) ++units;
    if (UpperCase1252(Narrow(name, units)) == "ARCHIVE") return true;
  }
}

}  // namespace

std::unique_ptr<GameDatabase> OpenGameDatabase(const std::string& file) {
  if (file.empty() || !IsFile(file))
    throw Error(kDbFileNotFound, "Could not find file '" + file + "'.");
  Connection c = Connect(file);
  if (!HasArchiveTable(c.dbc))
    throw Error(kDbTableNotFound, "The game database '" + file + "' has no table 'Archive'.");
  return std::make_unique<OdbcGameDatabase>(std::move(c));
}

void CreateGameDatabase(const std::string& file) {
  if (GameDatabaseKindOf(file) != GameDatabaseKind::kSqlite) {
    throw Error(vberr::kDeviceIo, "The game database '" + file +
                                      "' cannot be made here: make it with the front-end.");
  }
  Connection c = Connect(file);
  if (HasArchiveTable(c.dbc)) return;
  Statement stmt(c.dbc, "The game database cannot be made");
  stmt.Run(L"CREATE TABLE Archive (GA_ID INTEGER, FileToRun TEXT)");
}

}  // namespace hv::platform
