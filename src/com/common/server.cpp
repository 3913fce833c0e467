#include "com/common/server.h"

#include <string>

#include "com/common/com_object.h"
#include "com/common/module.h"

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

HRESULT Win32Result(LSTATUS status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  UniqueHkey handle;
  LSTATUS status =
      RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, handle.put(), nullptr);
  if (status != ERROR_SUCCESS) return Win32Result(status);
  return Win32Result(RegSetValueExW(handle.get(), name, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

HRESULT WriteClassKeys(const ServerInfo& server, const ClassEntry& entry,
                       const std::wstring& path) {
  const std::wstring clsid = GuidText(entry.clsid);
  const std::wstring key = L"CLSID\\" + clsid;
  const std::wstring version = std::to_wstring(server.major) + L"." + std::to_wstring(server.minor);
  const std::pair<std::wstring, std::pair<const wchar_t*, std::wstring>> values[] = {
      {entry.prog_id, {nullptr, entry.description}},
      {std::wstring(entry.prog_id) + L"\\CLSID", {nullptr, clsid}},
      {key, {nullptr, entry.description}},
      {key + L"\\InprocServer32", {nullptr, path}},
      {key + L"\\InprocServer32", {L"ThreadingModel", L"Apartment"}},
      {key + L"\\ProgID", {nullptr, entry.prog_id}},
      {key + L"\\TypeLib", {nullptr, GuidText(server.libid)}},
      {key + L"\\Version", {nullptr, version}},
  };
  for (const auto& [k, value] : values) {
    HRESULT hr = SetValue(k, value.first, value.second);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

void RemoveClassKeys(const ClassEntry& entry) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(entry.clsid)).c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(entry.clsid)).c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, entry.prog_id);
  RegDeleteKeyW(HKEY_CLASSES_ROOT, entry.prog_id);
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
      return E_OUTOFMEMORY;
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
    for (const ClassEntry& entry : server.classes) {
      HRESULT hr = WriteClassKeys(server, entry, path);
      if (FAILED(hr)) return hr;
    }
    ComPtr<ITypeLib> library;
    HRESULT hr = ModuleTypeLib(library.put());
    if (FAILED(hr)) return hr;
    std::wstring writable_path = path;
    return RegisterTypeLib(library.get(), writable_path.data(), nullptr);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ServerUnregister(const ServerInfo& server) noexcept {
  try {
    for (const ClassEntry& entry : server.classes) RemoveClassKeys(entry);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  try {
    // Nothing to remove when the library is not registered (a second unregister).
    const std::wstring key = L"TypeLib\\" + GuidText(server.libid) + L"\\" +
                             std::to_wstring(server.major) + L"." + std::to_wstring(server.minor);
    UniqueHkey handle;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS)
      return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return UnRegisterTypeLib(server.libid, server.major, server.minor, LOCALE_NEUTRAL, kSysKind);
}

}  // namespace hv::com
