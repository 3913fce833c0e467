#pragma once
// A private settings database per test, and raw access to what it holds.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/registry.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

namespace hv::test {

struct RawValue {
  std::int32_t status = -1;  // 0 when the value exists
  std::uint32_t type = 0;
  Bytes data;
};

class StoreTest : public ::testing::Test {
 protected:
  StoreTest();
  ~StoreTest() override;

  std::string DbPath() const { return (dir_ / "settings.db").string(); }
  // One number from the database, by SQL.
  std::int64_t Scalar(const std::string& sql) const;
  std::string Text(const std::string& sql) const;
  RawValue ReadRaw(platform::RegistryRoot root, const std::string& key, const std::string& name);
  void WriteRaw(platform::RegistryRoot root, const std::string& key, const std::string& name,
                std::uint32_t type, const Bytes& data);
  // Keys below the four roots.
  std::int64_t KeyCount() const { return Scalar("SELECT count(*) FROM reg_keys WHERE parent<>0"); }
  std::int64_t ValueCount() const { return Scalar("SELECT count(*) FROM reg_values"); }

  TempDir dir_;
};

}  // namespace hv::test
