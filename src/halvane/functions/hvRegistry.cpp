#include "halvane/functions/hvRegistry.h"

#include <algorithm>
#include <array>
#include <vector>

namespace hv {

using platform::kRegDword;
using platform::kRegMoreData;
using platform::kRegOk;
using platform::kRegSz;
using platform::RegistryKey;
using platform::RegistryRoot;

namespace {

constexpr std::int32_t kOtherType = -1;
// Reads of a value that keeps changing under us before giving up.
constexpr int kQueryAttempts = 8;

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Text for a string value. Null joins a text as nothing, so it is stored as the empty text.
std::string TextOf(const Variant& value) {
  return value.IsNull() ? std::string() : value.ToText();
}

}  // namespace

RegistryRoot hvRegistry::RootKeyFromName(const std::string& name) {
  // The four names are plain ASCII, so upper-casing ASCII letters is the whole comparison.
  const std::string upper = AsciiUpper(name);
  if (upper == "HKEY_CLASSES_ROOT") return RegistryRoot::kClassesRoot;
  if (upper == "HKEY_CURRENT_USER") return RegistryRoot::kCurrentUser;
  if (upper == "HKEY_LOCAL_MACHINE") return RegistryRoot::kLocalMachine;
  if (upper == "HKEY_USERS") return RegistryRoot::kUsers;
  return RegistryRoot::kNone;
}

std::uint32_t hvRegistry::TypeFor(std::int16_t bStringType) noexcept {
  return bStringType == kStringType ? kRegSz : kRegDword;
}

bool hvRegistry::OpenKey(const std::string& root_name, const std::string& key_name,
                         RegistryKey& key) {
  const RegistryRoot root = RootKeyFromName(root_name);
  if (root == RegistryRoot::kNone) return false;
  return RegistryKey::Create(root, key_name, key) == kRegOk;
}

std::int32_t hvRegistry::QueryValue(const RegistryKey& key, const std::string& name,
                                    Variant& value) {
  // Another process may replace the value between the question for its size and the read.
  // A value that changed size or type in between is asked for again, instead of reading as
  // missing.
  for (int attempt = 1;; ++attempt) {
    const bool last = attempt == kQueryAttempts;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::int32_t status = key.QueryInfo(name, type, size);
    if (status != kRegOk) return status;
    const auto changed = [&](std::int32_t read_status, std::uint32_t read_type, std::uint32_t got) {
      return !last && ((read_status == kRegMoreData && got != size) ||
                       (read_status == kRegOk && read_type != type));
    };

    if (type == kRegSz) {
      std::vector<std::uint8_t> buffer(size, 0);
      std::uint32_t read_type = 0;
      std::uint32_t got = 0;
      status = key.QueryData(name, read_type, buffer, got);
      if (changed(status, read_type, got)) continue;
      if (status != kRegOk) {
        value = Variant();
        return status;
      }
      // The text without its terminating NUL; a value written without one (or with no bytes
      // at all) loses nothing.
      std::size_t length = std::min<std::size_t>(got, buffer.size());
      if (length > 0 && buffer[length - 1] == 0) --length;
      value = Variant(
          std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length)));
      return kRegOk;
    }

    if (type == kRegDword) {
      // Never more than the four bytes of the integer, whatever size the value claims: a
      // longer one fails as too large instead of overrunning it.
      std::array<std::uint8_t, 4> bytes{};
      const std::size_t room = std::min<std::size_t>(size, bytes.size());
      std::uint32_t read_type = 0;
      std::uint32_t got = 0;
      status = key.QueryData(name, read_type, std::span<std::uint8_t>(bytes.data(), room), got);
      if (changed(status, read_type, got)) continue;
      if (status != kRegOk) return status;
      const std::uint32_t u = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                              (static_cast<std::uint32_t>(bytes[3]) << 24);
      value = Variant(static_cast<std::int32_t>(u));
      return kRegOk;
    }

    return kOtherType;
  }
}

std::int32_t hvRegistry::SetValue(RegistryKey& key, const std::string& name, std::uint32_t type,
                                  const Variant& value) {
  if (type == kRegSz) {
    // The text and one NUL: the byte count is the text's length + 1.
    std::string text = TextOf(value);
    text.push_back('\0');
    return key.SetValue(name, kRegSz,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
  if (type == kRegDword) {
    const auto u = static_cast<std::uint32_t>(value.ToLong());  // may raise the conversion error
    const std::array<std::uint8_t, 4> bytes{
        static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
        static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
    return key.SetValue(name, kRegDword, bytes);
  }
  return kRegOk;
}

bool hvRegistry::SaveSetting(std::string& sRootKey, std::string& sKeyName, std::string& sValueName,
                             Variant& vValueSetting, std::int16_t& bStringType) {
  RegistryKey key;
  if (!OpenKey(sRootKey, sKeyName, key)) return false;
  return SetValue(key, sValueName, TypeFor(bStringType), vValueSetting) == kRegOk;
}

bool hvRegistry::GetSetting(std::string& sRootKey, std::string& sKeyName, std::string& sValueName,
                            Variant& vValue, std::int16_t& bStringType, Variant& vDefault) {
  RegistryKey key;
  if (!OpenKey(sRootKey, sKeyName, key)) return false;
  if (QueryValue(key, sValueName, vValue) == kRegOk) return true;
  // Only the marker text itself means "no default"; a number never equals it.
  if (vDefault.IsString() && vDefault.ToText() == kDontSet) {
    vValue = Variant(kNotFound);
    return true;
  }
  SetValue(key, sValueName, TypeFor(bStringType), vDefault);
  return QueryValue(key, sValueName, vValue) == kRegOk;
}

bool hvRegistry::GetSetting(std::string& sRootKey, std::string& sKeyName, std::string& sValueName,
                            Variant& vValue, std::int16_t& bStringType) {
  Variant omitted(kDontSet);
  return GetSetting(sRootKey, sKeyName, sValueName, vValue, bStringType, omitted);
}

}  // namespace hv
