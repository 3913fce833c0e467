#include "com/common/server.h"

#include <string>

#include "com/common/com_object.h"
#include "com/common/error_boundary.h"
#include "com/common/module.h"
#include "com/common/registration.h"

namespace hv::com {
namespace {

class ClassFactory : public ComObject<ClassFactory, IClassFactory> {
 public:
  explicit ClassFactory(CreateFunction create) noexcept : create_(create) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }

 private:
  CreateFunction create_;
};

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

}  // namespace

HRESULT ServerGetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID riid,
                             void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const ClassEntry& entry : server.classes) {
    if (entry.clsid != clsid) continue;
    try {
      return MakeObject<ClassFactory>(entry.create)->QueryInterface(riid, ppv);
    } catch (...) {
      return CaughtHResult();
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ServerCanUnloadNow() noexcept {
  return ModuleIdle() ? S_OK : S_FALSE;
}

HRESULT ServerRegister(const ServerInfo& server) noexcept {
  try {
    const std::wstring path = ModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    HRESULT hr = WriteClassKeys({HKEY_CLASSES_ROOT, HKEY_CLASSES_ROOT}, server, path);
    if (FAILED(hr)) return hr;
    ComPtr<ITypeLib> library;
    hr = ModuleTypeLib(library.put());
    if (FAILED(hr)) return hr;
    std::wstring writable_path = path;
    return RegisterTypeLib(library.get(), writable_path.data(), nullptr);
  } catch (...) {
    return CaughtHResult();
  }
}

HRESULT ServerUnregister(const ServerInfo& server) noexcept {
  try {
    RemoveClassKeys({HKEY_CLASSES_ROOT, HKEY_CLASSES_ROOT}, server);
  } catch (...) {
    return CaughtHResult();
  }
  try {
    // Nothing to remove when the library is not registered (a second unregister).
    const std::wstring key = L"TypeLib\\" + GuidText(server.libid) + L"\\" +
                             std::to_wstring(server.major) + L"." + std::to_wstring(server.minor);
    UniqueHkey handle;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS)
      return S_OK;
  } catch (...) {
    return CaughtHResult();
  }
  return UnRegisterTypeLib(server.libid, server.major, server.minor, LOCALE_NEUTRAL, kSysKind);
}

}  // namespace hv::com
