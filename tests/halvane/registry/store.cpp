#include "store.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <stdexcept>

#include "platform/posix/sqlite_handle.h"

namespace hv::test {

StoreTest::StoreTest() {
  ::setenv("HV_SETTINGS_DB", DbPath().c_str(), 1);
}
StoreTest::~StoreTest() {
  ::unsetenv("HV_SETTINGS_DB");
}

std::string StoreTest::Text(const std::string& sql) const {
  platform::SqliteDb db;
  std::string result;
  int rc = ::sqlite3_open_v2(DbPath().c_str(), db.put(), SQLITE_OPEN_READONLY, nullptr);
  platform::SqliteStmt stmt;
  if (rc == SQLITE_OK) rc = ::sqlite3_prepare_v2(db.get(), sql.c_str(), -1, stmt.put(), nullptr);
  if (rc == SQLITE_OK && ::sqlite3_step(stmt.get()) == SQLITE_ROW) {
    const auto* text = ::sqlite3_column_text(stmt.get(), 0);
    if (text != nullptr) result = reinterpret_cast<const char*>(text);
  }
  if (rc != SQLITE_OK) throw std::runtime_error("query failed: " + sql);
  return result;
}

std::int64_t StoreTest::Scalar(const std::string& sql) const {
  return std::stoll(Text(sql));
}

RawValue StoreTest::ReadRaw(platform::RegistryRoot root, const std::string& key,
                            const std::string& name) {
  RawValue v;
  platform::RegistryKey k;
  v.status = platform::RegistryKey::Create(root, key, k);
  if (v.status != 0) return v;
  std::uint32_t size = 0;
  v.status = k.QueryInfo(name, v.type, size);
  if (v.status != 0) return v;
  v.data.resize(size);
  v.status = k.QueryData(name, v.type, v.data, size);
  return v;
}

void StoreTest::WriteRaw(platform::RegistryRoot root, const std::string& key,
                         const std::string& name, std::uint32_t type, const Bytes& data) {
  platform::RegistryKey k;
  ASSERT_EQ(platform::RegistryKey::Create(root, key, k), 0);
  ASSERT_EQ(k.SetValue(name, type, data), 0);
}

}  // namespace hv::test
