// DllInstall: registration for the current user alone, which needs no administrator rights.

#include "com/common/error_boundary.h"
#include "com/common/module.h"
#include "com/common/registration.h"
#include "com/common/server.h"
#include "com/common/unique_resource.h"

namespace hv::com {
namespace {

// HKCU\Software\Classes as this architecture reads it. A 32-bit process on 64-bit Windows
// reads CLSID and Interface below Wow6432Node and shares the rest with 64-bit processes. The
// keys are opened by their own names (KEY_WOW64_64KEY): Windows would redirect a 32-bit
// process's CLSID on its own, but Wine does not, and the 64-bit registration, written last,
// would take the place of the 32-bit one.
class UserClasses {
 public:
  HRESULT Open(bool create) {
    constexpr REGSAM kSam = KEY_ALL_ACCESS | KEY_WOW64_64KEY;
    HRESULT hr = OpenKey(HKEY_CURRENT_USER, L"Software\\Classes", kSam, create, shared_);
    if (FAILED(hr)) return hr;
    root_ = {shared_.get(), shared_.get(), nullptr, KEY_WOW64_64KEY};
    if (!OnWow64Windows()) return S_OK;
    const bool self32 = sizeof(void*) == 4;
    hr = OpenKey(shared_.get(), L"Wow6432Node", kSam, create && self32, wow_);
    if (self32) {
      if (FAILED(hr)) return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? S_FALSE : hr;
      root_.view = wow_.get();
      root_.other_view = shared_.get();
    } else if (SUCCEEDED(hr)) {
      root_.other_view = wow_.get();
    }
    return S_OK;
  }
  const ClassesRoot& root() const noexcept { return root_; }

  // Takes away the 32-bit view's keys once they are empty. Wine redirects every key below
  // HKCU\Software\Classes for 32-bit processes while it holds a Wow6432Node at all.
  void DropEmptyView() {
    if (!wow_ || root_.view != wow_.get()) return;
    for (const wchar_t* key : {L"CLSID", L"Interface"})
      if (IsEmpty(wow_.get(), key)) RegDeleteKeyExW(wow_.get(), key, KEY_WOW64_64KEY, 0);
    if (!IsEmpty(shared_.get(), L"Wow6432Node")) return;
    wow_.reset();
    RegDeleteKeyExW(shared_.get(), L"Wow6432Node", KEY_WOW64_64KEY, 0);
  }

 private:
  static HRESULT OpenKey(HKEY parent, const wchar_t* name, REGSAM sam, bool create,
                         UniqueHkey& out) {
    LSTATUS status = create ? RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                              sam, nullptr, out.put(), nullptr)
                            : RegOpenKeyExW(parent, name, 0, sam, out.put());
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
  }
  static bool IsEmpty(HKEY parent, const wchar_t* name) {
    UniqueHkey key;
    DWORD subkeys = 0, values = 0;
    return RegOpenKeyExW(parent, name, 0, KEY_READ | KEY_WOW64_64KEY, key.put()) == ERROR_SUCCESS &&
           RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                            &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
  }
  // True on 64-bit Windows, whichever architecture this DLL is.
  static bool OnWow64Windows() {
    if (sizeof(void*) == 8) return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
  }

  UniqueHkey shared_;
  UniqueHkey wow_;
  ClassesRoot root_{};
};

void UnregisterForUser(const ClassesRoot& root, const ServerInfo& server) {
  ComPtr<ITypeLib> library;
  ModuleTypeLib(library.put());  // without it only the class keys can go
  RemoveClassKeys(root, server);
  RemoveTypeLibKeys(root, server, library.get());
}

HRESULT RegisterForUser(const ClassesRoot& root, const ServerInfo& server) {
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
    UserClasses classes;
    HRESULT hr = classes.Open(install);
    // Nothing was ever registered for this user in this architecture's view.
    if (!install && (hr == S_FALSE || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))) return S_OK;
    if (FAILED(hr)) return hr;
    if (install) return RegisterForUser(classes.root(), server);
    UnregisterForUser(classes.root(), server);
    classes.DropEmptyView();
    return S_OK;
  } catch (...) {
    return CaughtHResult();
  }
}

}  // namespace hv::com
