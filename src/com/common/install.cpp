// DllInstall: registration for the current user alone, which needs no administrator rights.

#include "com/common/error_boundary.h"
#include "com/common/module.h"
#include "com/common/registration.h"
#include "com/common/server.h"
#include "com/common/unique_resource.h"

namespace hv::com {
namespace {

HRESULT OpenUserClasses(UniqueHkey& root, bool create) {
  constexpr const wchar_t* kKey = L"Software\\Classes";
  LSTATUS status =
      create ? RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, root.put(), nullptr)
             : RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, root.put());
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

void UnregisterForUser(HKEY root, const ServerInfo& server) {
  ComPtr<ITypeLib> library;
  ModuleTypeLib(library.put());  // without it only the class keys can go
  RemoveClassKeys(root, server);
  RemoveTypeLibKeys(root, server, library.get());
}

HRESULT RegisterForUser(HKEY root, const ServerInfo& server) {
  const std::wstring path = ModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  ComPtr<ITypeLib> library;
  HRESULT hr = ModuleTypeLib(library.put());
  if (SUCCEEDED(hr)) hr = WriteClassKeys(root, server, path);
  if (SUCCEEDED(hr)) hr = WriteTypeLibKeys(root, server, library.get(), path);
  // Half a registration would leave a class that cannot be created: take it all back.
  if (FAILED(hr)) UnregisterForUser(root, server);
  return hr;
}

}  // namespace

HRESULT ServerInstall(const ServerInfo& server, bool install, const wchar_t* command) noexcept {
  try {
    if (!command || !*command) return install ? ServerRegister(server) : ServerUnregister(server);
    if (lstrcmpiW(command, L"user") != 0) return E_INVALIDARG;
    UniqueHkey root;
    HRESULT hr = OpenUserClasses(root, install);
    if (!install && hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return S_OK;
    if (FAILED(hr)) return hr;
    if (install) return RegisterForUser(root.get(), server);
    UnregisterForUser(root.get(), server);
    return S_OK;
  } catch (...) {
    return CaughtHResult();
  }
}

}  // namespace hv::com
