#include "platform/registry.h"

#include <windows.h>

#include "platform/win32/handle.h"

namespace hv::platform {

namespace {

// Query, set, create subkey, enumerate subkeys, notify, create link: what the callers have
// always asked for, spelled as the number they asked with.
constexpr REGSAM kKeyAccess = 0x3F;

HKEY PredefinedKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers:
      return HKEY_USERS;
    case RegistryRoot::kNone:
      break;
  }
  return nullptr;
}

}  // namespace

struct RegistryKey::Impl {
  win32::UniqueHkey hkey;
};

RegistryKey::RegistryKey() = default;
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

void RegistryKey::Close() noexcept {
  impl_.reset();
}

std::int32_t RegistryKey::Create(RegistryRoot root, const std::string& path, RegistryKey& key) {
  key.Close();
  const HKEY parent = PredefinedKey(root);
  if (parent == nullptr) return kRegInvalidParameter;
  auto impl = std::make_unique<Impl>();
  DWORD disposition = 0;
  // No class, non-volatile, default security.
  const LONG rc = ::RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, kKeyAccess, nullptr,
                                    impl->hkey.put(), &disposition);
  if (rc != ERROR_SUCCESS) return rc;  // whatever handle came back is closed with impl
  key.impl_ = std::move(impl);
  return kRegOk;
}

std::int32_t RegistryKey::QueryInfo(const std::string& name, std::uint32_t& type,
                                    std::uint32_t& size) const {
  if (!impl_) return ERROR_INVALID_HANDLE;
  DWORD t = 0;
  DWORD n = 0;
  const LONG rc = ::RegQueryValueExA(impl_->hkey.get(), name.c_str(), nullptr, &t, nullptr, &n);
  if (rc == ERROR_SUCCESS) {
    type = t;
    size = n;
  }
  return rc;
}

std::int32_t RegistryKey::QueryData(const std::string& name, std::uint32_t& type,
                                    std::span<std::uint8_t> data, std::uint32_t& size) const {
  if (!impl_) return ERROR_INVALID_HANDLE;
  DWORD t = 0;
  DWORD n = static_cast<DWORD>(data.size());
  const LONG rc = ::RegQueryValueExA(impl_->hkey.get(), name.c_str(), nullptr, &t,
                                     reinterpret_cast<LPBYTE>(data.data()), &n);
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    type = t;
    size = n;
  }
  return rc;
}

std::int32_t RegistryKey::SetValue(const std::string& name, std::uint32_t type,
                                   std::span<const std::uint8_t> data) {
  if (!impl_) return ERROR_INVALID_HANDLE;
  return ::RegSetValueExA(impl_->hkey.get(), name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

}  // namespace hv::platform
