#include "platform/registry.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "common/text.h"
#include "platform/posix/settings_db.h"

namespace hv::platform {

struct RegistryKey::Impl {
  SqliteDb db;
  sqlite3_int64 id = 0;
};

namespace {

// The names handed to the ANSI registry functions end at their first NUL, here as there.
std::string CName(const std::string& name) {
  return std::string(name.c_str());
}

sqlite3_int64 RootId(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return 1;
    case RegistryRoot::kCurrentUser:
      return 2;
    case RegistryRoot::kLocalMachine:
      return 3;
    case RegistryRoot::kUsers:
      return 4;
    case RegistryRoot::kNone:
      break;
  }
  return 0;
}

// Splits a key path at backslashes. Like the registry, it refuses a path that starts with one,
// and takes a run of them inside or at the end as one separator.
bool SplitKeyPath(const std::string& path, std::vector<std::string>& parts) {
  const std::string p = CName(path);
  if (!p.empty() && p.front() == '\\') return false;
  std::size_t start = 0;
  while (start < p.size()) {
    const std::size_t end = std::min(p.find('\\', start), p.size());
    if (end > start) parts.push_back(p.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
  ::sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Finds the child key `name` of `parent`; SQLITE_DONE when it does not exist.
int FindChild(sqlite3* db, sqlite3_int64 parent, const std::string& name, sqlite3_int64& id) {
  SqliteStmt stmt;
  int rc = Prepare(db, "SELECT id FROM reg_keys WHERE parent = ?1 AND fold = ?2", stmt);
  if (rc != SQLITE_OK) return rc;
  ::sqlite3_bind_int64(stmt.get(), 1, parent);
  BindText(stmt.get(), 2, FoldName(name));
  rc = ::sqlite3_step(stmt.get());
  if (rc == SQLITE_ROW) {
    id = ::sqlite3_column_int64(stmt.get(), 0);
    return SQLITE_OK;
  }
  return rc;
}

int AddChild(sqlite3* db, sqlite3_int64 parent, const std::string& name) {
  SqliteStmt stmt;
  int rc =
      Prepare(db, "INSERT OR IGNORE INTO reg_keys(parent, name, fold) VALUES(?1, ?2, ?3)", stmt);
  if (rc != SQLITE_OK) return rc;
  ::sqlite3_bind_int64(stmt.get(), 1, parent);
  BindText(stmt.get(), 2, Cp1252ToUtf8(name));
  BindText(stmt.get(), 3, FoldName(name));
  rc = ::sqlite3_step(stmt.get());
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Walks the path; with `create`, adds the keys that are missing. SQLITE_DONE means a key on
// the path is missing and `create` was false.
int WalkKeys(sqlite3* db, sqlite3_int64 root, const std::vector<std::string>& parts, bool create,
             sqlite3_int64& id) {
  id = root;
  for (const auto& part : parts) {
    sqlite3_int64 child = 0;
    int rc = FindChild(db, id, part, child);
    if (rc == SQLITE_DONE && create) {
      rc = AddChild(db, id, part);
      if (rc == SQLITE_OK) rc = FindChild(db, id, part, child);
    }
    if (rc != SQLITE_OK) return rc;
    id = child;
  }
  return SQLITE_OK;
}

// A write transaction that rolls back unless committed.
class WriteTransaction {
 public:
  explicit WriteTransaction(sqlite3* db) : db_(db) {}
  ~WriteTransaction() {
    if (open_) Exec(db_, "ROLLBACK");
  }
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;
  int Begin() {
    const int rc = Exec(db_, "BEGIN IMMEDIATE");
    open_ = rc == SQLITE_OK;
    return rc;
  }
  int Commit() {
    const int rc = Exec(db_, "COMMIT");
    if (rc == SQLITE_OK) open_ = false;
    return rc;
  }

 private:
  sqlite3* db_;
  bool open_ = false;
};

// Reads one value: its type and, when `data` is given, its bytes.
int ReadValue(sqlite3* db, sqlite3_int64 key, const std::string& name, std::uint32_t& type,
              std::vector<std::uint8_t>& data) {
  SqliteStmt stmt;
  int rc = Prepare(db, "SELECT type, data FROM reg_values WHERE key = ?1 AND fold = ?2", stmt);
  if (rc != SQLITE_OK) return rc;
  ::sqlite3_bind_int64(stmt.get(), 1, key);
  BindText(stmt.get(), 2, FoldName(CName(name)));
  rc = ::sqlite3_step(stmt.get());
  if (rc != SQLITE_ROW) return rc;
  type = static_cast<std::uint32_t>(::sqlite3_column_int64(stmt.get(), 0));
  const auto* bytes = static_cast<const std::uint8_t*>(::sqlite3_column_blob(stmt.get(), 1));
  const int count = ::sqlite3_column_bytes(stmt.get(), 1);
  data.assign(bytes, bytes + (bytes == nullptr ? 0 : count));
  return SQLITE_OK;
}

}  // namespace

RegistryKey::RegistryKey() = default;
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

void RegistryKey::Close() noexcept {
  impl_.reset();
}

std::int32_t RegistryKey::Create(RegistryRoot root, const std::string& path, RegistryKey& key) {
  key.Close();
  const sqlite3_int64 root_id = RootId(root);
  if (root_id == 0) return kRegInvalidParameter;
  std::vector<std::string> parts;
  if (!SplitKeyPath(path, parts)) return kRegBadPathname;
  auto impl = std::make_unique<Impl>();
  if (const std::int32_t status = OpenSettingsDb(impl->db); status != kRegOk) return status;
  sqlite3* db = impl->db.get();
  // Most opens find the key already there and need no write lock.
  int rc = WalkKeys(db, root_id, parts, false, impl->id);
  if (rc == SQLITE_DONE) {
    WriteTransaction tx(db);
    rc = tx.Begin();
    if (rc == SQLITE_OK) rc = WalkKeys(db, root_id, parts, true, impl->id);
    if (rc == SQLITE_OK) rc = tx.Commit();
  }
  if (rc != SQLITE_OK) return StatusFromSqlite(rc);
  key.impl_ = std::move(impl);
  return kRegOk;
}

std::int32_t RegistryKey::QueryInfo(const std::string& name, std::uint32_t& type,
                                    std::uint32_t& size) const {
  if (!impl_) return kRegInvalidParameter;
  std::uint32_t t = 0;
  std::vector<std::uint8_t> bytes;
  const int rc = ReadValue(impl_->db.get(), impl_->id, name, t, bytes);
  if (rc == SQLITE_DONE) return kRegFileNotFound;
  if (rc != SQLITE_OK) return StatusFromSqlite(rc);
  type = t;
  size = static_cast<std::uint32_t>(bytes.size());
  return kRegOk;
}

std::int32_t RegistryKey::QueryData(const std::string& name, std::uint32_t& type,
                                    std::span<std::uint8_t> data, std::uint32_t& size) const {
  if (!impl_) return kRegInvalidParameter;
  std::uint32_t t = 0;
  std::vector<std::uint8_t> bytes;
  const int rc = ReadValue(impl_->db.get(), impl_->id, name, t, bytes);
  if (rc == SQLITE_DONE) return kRegFileNotFound;
  if (rc != SQLITE_OK) return StatusFromSqlite(rc);
  type = t;
  size = static_cast<std::uint32_t>(bytes.size());
  if (bytes.size() > data.size()) return kRegMoreData;
  if (!bytes.empty()) std::memcpy(data.data(), bytes.data(), bytes.size());
  return kRegOk;
}

std::int32_t RegistryKey::SetValue(const std::string& name, std::uint32_t type,
                                   std::span<const std::uint8_t> data) {
  if (!impl_) return kRegInvalidParameter;
  if (data.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return kRegInvalidParameter;
  }
  const std::string value_name = CName(name);
  SqliteStmt stmt;
  int rc = Prepare(impl_->db.get(),
                   "INSERT INTO reg_values(key, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5)"
                   " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type,"
                   " data = excluded.data",
                   stmt);
  if (rc != SQLITE_OK) return StatusFromSqlite(rc);
  ::sqlite3_bind_int64(stmt.get(), 1, impl_->id);
  BindText(stmt.get(), 2, Cp1252ToUtf8(value_name));
  BindText(stmt.get(), 3, FoldName(value_name));
  ::sqlite3_bind_int64(stmt.get(), 4, type);
  // An empty value is a zero-length blob, not NULL.
  if (data.empty()) {
    ::sqlite3_bind_zeroblob(stmt.get(), 5, 0);
  } else {
    ::sqlite3_bind_blob(stmt.get(), 5, data.data(), static_cast<int>(data.size()),
                        SQLITE_TRANSIENT);
  }
  rc = ::sqlite3_step(stmt.get());
  return rc == SQLITE_DONE ? kRegOk : StatusFromSqlite(rc);
}

}  // namespace hv::platform
