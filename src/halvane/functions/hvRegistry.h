#pragma once
// hvRegistry: one named setting at a time in the settings tree, as a string or a 32-bit
// integer. The class holds no state; every call opens and closes its own key.
//
// Arguments are all taken by reference, as the automation interface passes them; only
// vValue is ever changed. Failures are results (false), except a value that cannot become
// the 32-bit integer asked for: that conversion error (hv::Error, 13 "Type mismatch" or 6
// "Overflow") reaches the caller with nothing written.

#include <cstdint>
#include <string>

#include "common/variant.h"
#include "platform/registry.h"

namespace hv {

class hvRegistry {
 public:
  // The default of vDefault: store no default.
  static constexpr const char* kDontSet = "--DONT-SET--";
  // What GetSetting hands back for a missing value when no default was given.
  static constexpr const char* kNotFound = "--NOT-FOUND--";
  // bStringType: this value (True) selects a string; any other selects a 32-bit integer.
  static constexpr std::int16_t kStringType = -1;

  // Writes one value below sRootKey\sKeyName, creating the key as needed. True when the
  // value was written.
  bool SaveSetting(std::string& sRootKey, std::string& sKeyName, std::string& sValueName,
                   Variant& vValueSetting, std::int16_t& bStringType);

  // Reads one value into vValue. A missing value (or one of another type) is success: vValue
  // becomes "--NOT-FOUND--" when vDefault is "--DONT-SET--", otherwise vDefault is stored and
  // read back, and the result says whether that read succeeded.
  bool GetSetting(std::string& sRootKey, std::string& sKeyName, std::string& sValueName,
                  Variant& vValue, std::int16_t& bStringType, Variant& vDefault);
  // The same with vDefault omitted.
  bool GetSetting(std::string& sRootKey, std::string& sKeyName, std::string& sValueName,
                  Variant& vValue, std::int16_t& bStringType);

 private:
  static platform::RegistryRoot RootKeyFromName(const std::string& name);
  // 0 when read into `value`; the platform's status when the value cannot be queried; -1 for
  // a value whose type is neither string nor 32-bit integer.
  static std::int32_t QueryValue(const platform::RegistryKey& key, const std::string& name,
                                 Variant& value);
  // The platform's status of the write; a type other than string or integer writes nothing.
  static std::int32_t SetValue(platform::RegistryKey& key, const std::string& name,
                               std::uint32_t type, const Variant& value);
  // Opens sKeyName below the named root; false for an unknown root or a key that cannot be
  // opened or created.
  static bool OpenKey(const std::string& root_name, const std::string& key_name,
                      platform::RegistryKey& key);
  static std::uint32_t TypeFor(std::int16_t bStringType) noexcept;
};

}  // namespace hv
