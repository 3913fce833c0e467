#include "com/common/registration.h"

#include <initializer_list>
#include <vector>

#include "com/common/unique_resource.h"

namespace hv::com {
namespace {

// The standard marshaler of automation interfaces, as RegisterTypeLib names it.
constexpr const wchar_t* kOleAutomationProxy = L"{00020424-0000-0000-C000-000000000046}";
constexpr const wchar_t* kSysKindName = sizeof(void*) == 8 ? L"win64" : L"win32";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring VersionText(const ServerInfo& server) {
  return std::to_wstring(server.major) + L"." + std::to_wstring(server.minor);
}

HRESULT Win32Result(LSTATUS status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

// `sam` is 0 or KEY_WOW64_64KEY (ClassesRoot::sam), added to every open.
HRESULT SetValue(HKEY root, REGSAM sam, const std::wstring& key, const wchar_t* name,
                 const std::wstring& value) {
  UniqueHkey handle;
  LSTATUS status = RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE | sam, nullptr, handle.put(), nullptr);
  if (status != ERROR_SUCCESS) return Win32Result(status);
  return Win32Result(RegSetValueExW(handle.get(), name, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

void DeleteKey(HKEY root, REGSAM sam, const std::wstring& key) {
  UniqueHkey handle;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS | sam, handle.put()) != ERROR_SUCCESS)
    return;
  RegDeleteTreeW(handle.get(), nullptr);
  handle.reset();
  RegDeleteKeyExW(root, key.c_str(), sam, 0);
}

struct KeyValue {
  std::wstring key;
  const wchar_t* name;
  std::wstring value;
};

HRESULT SetValues(HKEY root, REGSAM sam, const std::vector<KeyValue>& values) {
  for (const KeyValue& v : values) {
    HRESULT hr = SetValue(root, sam, v.key, v.name, v.value);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

// GUIDs of the interfaces RegisterTypeLib registers: dispinterfaces and automation-compatible
// (dual or oleautomation) interfaces.
struct NamedGuid {
  GUID guid;
  std::wstring name;
};
std::vector<NamedGuid> AutomationInterfaces(ITypeLib* library) {
  std::vector<NamedGuid> result;
  const UINT count = library->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    ComPtr<ITypeInfo> info;
    if (FAILED(library->GetTypeInfo(i, info.put()))) continue;
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) continue;
    const bool automation = attr->typekind == TKIND_DISPATCH ||
                            (attr->typekind == TKIND_INTERFACE &&
                             (attr->wTypeFlags & (TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDUAL)) != 0);
    const GUID guid = attr->guid;
    info->ReleaseTypeAttr(attr);
    if (!automation) continue;
    UniqueBstr name;
    library->GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr);
    result.push_back({guid, name ? std::wstring(name.get()) : std::wstring()});
  }
  return result;
}

bool HasSubkeysOtherThan(HKEY root, REGSAM sam, const std::wstring& key,
                         std::initializer_list<const wchar_t*> ignored) {
  UniqueHkey handle;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | sam, handle.put()) != ERROR_SUCCESS)
    return false;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = 256;
    if (RegEnumKeyExW(handle.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      return false;
    bool skip = false;
    for (const wchar_t* other : ignored) skip = skip || lstrcmpiW(name, other) == 0;
    if (!skip) return true;
  }
}

bool KeyExists(HKEY root, REGSAM sam, const std::wstring& key) {
  UniqueHkey handle;
  return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | sam, handle.put()) == ERROR_SUCCESS;
}

std::wstring FolderOf(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L'\\'));
}

// The path the other architecture registered below TypeLib\{libid}\<version>\<lcid>.
std::wstring OtherArchitecturePath(HKEY root, REGSAM sam, const std::wstring& lcid_key) {
  constexpr const wchar_t* kOther = sizeof(void*) == 8 ? L"win32" : L"win64";
  UniqueHkey handle;
  if (RegOpenKeyExW(root, (lcid_key + L"\\" + kOther).c_str(), 0, KEY_READ | sam, handle.put()) !=
      ERROR_SUCCESS)
    return {};
  wchar_t data[MAX_PATH * 2];
  DWORD size = sizeof data;
  if (RegGetValueW(handle.get(), nullptr, nullptr, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return {};
  return data;
}

}  // namespace

HRESULT WriteClassKeys(const ClassesRoot& root, const ServerInfo& server,
                       const std::wstring& path) {
  for (const ClassEntry& entry : server.classes) {
    const std::wstring clsid = GuidText(entry.clsid);
    const std::wstring key = L"CLSID\\" + clsid;
    HRESULT hr = SetValues(root.shared, root.sam,
                           {
                               {entry.prog_id, nullptr, entry.description},
                               {std::wstring(entry.prog_id) + L"\\CLSID", nullptr, clsid},
                           });
    if (FAILED(hr)) return hr;
    hr = SetValues(root.view, root.sam,
                   {
                       {key, nullptr, entry.description},
                       {key + L"\\InprocServer32", nullptr, path},
                       {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
                       {key + L"\\ProgID", nullptr, entry.prog_id},
                       {key + L"\\TypeLib", nullptr, GuidText(server.libid)},
                       {key + L"\\Version", nullptr, VersionText(server)},
                   });
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

void RemoveClassKeys(const ClassesRoot& root, const ServerInfo& server) {
  for (const ClassEntry& entry : server.classes) {
    const std::wstring key = L"CLSID\\" + GuidText(entry.clsid);
    DeleteKey(root.view, root.sam, key);
    if (!root.other_view || !KeyExists(root.other_view, root.sam, key))
      DeleteKey(root.shared, root.sam, entry.prog_id);
  }
}

HRESULT WriteTypeLibKeys(const ClassesRoot& root, const ServerInfo& server, ITypeLib* library,
                         const std::wstring& path) {
  TLIBATTR* attr = nullptr;
  HRESULT hr = library->GetLibAttr(&attr);
  if (FAILED(hr)) return hr;
  const LCID lcid = attr->lcid;
  const WORD flags = attr->wLibFlags;
  library->ReleaseTLibAttr(attr);

  UniqueBstr name, doc;
  library->GetDocumentation(-1, name.put(), doc.put(), nullptr, nullptr);
  const std::wstring title = doc && *doc.get() ? doc.get() : name ? name.get() : L"";
  const std::wstring folder = FolderOf(path);
  wchar_t lcid_text[16];
  wsprintfW(lcid_text, L"%lx", static_cast<unsigned long>(lcid));
  const std::wstring libid = GuidText(server.libid);
  const std::wstring base = L"TypeLib\\" + libid + L"\\" + VersionText(server);
  hr = SetValues(root.shared, root.sam,
                 {
                     {base, nullptr, title},
                     {base + L"\\FLAGS", nullptr, std::to_wstring(flags)},
                     {base + L"\\HELPDIR", nullptr, folder},
                     {base + L"\\" + lcid_text + L"\\" + kSysKindName, nullptr, path},
                 });
  if (FAILED(hr)) return hr;
  for (const NamedGuid& itf : AutomationInterfaces(library)) {
    const std::wstring key = L"Interface\\" + GuidText(itf.guid);
    hr = SetValues(root.view, root.sam,
                   {
                       {key, nullptr, itf.name},
                       {key + L"\\ProxyStubClsid", nullptr, kOleAutomationProxy},
                       {key + L"\\ProxyStubClsid32", nullptr, kOleAutomationProxy},
                       {key + L"\\TypeLib", nullptr, libid},
                       {key + L"\\TypeLib", L"Version", VersionText(server)},
                   });
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

void RemoveTypeLibKeys(const ClassesRoot& root, const ServerInfo& server, ITypeLib* library) {
  const std::wstring libid = L"TypeLib\\" + GuidText(server.libid);
  const std::wstring base = libid + L"\\" + VersionText(server);
  TLIBATTR* attr = nullptr;
  if (library && SUCCEEDED(library->GetLibAttr(&attr))) {
    wchar_t lcid_text[16];
    wsprintfW(lcid_text, L"%lx", static_cast<unsigned long>(attr->lcid));
    library->ReleaseTLibAttr(attr);
    const std::wstring lcid_key = base + L"\\" + lcid_text;
    DeleteKey(root.shared, root.sam, lcid_key + L"\\" + kSysKindName);
    RegDeleteKeyExW(root.shared, lcid_key.c_str(), root.sam, 0);  // only when now empty
    // HELPDIR is one value for both architectures: it names a folder that stays.
    const std::wstring other = OtherArchitecturePath(root.shared, root.sam, lcid_key);
    if (!other.empty())
      SetValue(root.shared, root.sam, base + L"\\HELPDIR", nullptr, FolderOf(other));
  }
  if (!HasSubkeysOtherThan(root.shared, root.sam, base, {L"FLAGS", L"HELPDIR"}))
    DeleteKey(root.shared, root.sam, base);
  RegDeleteKeyExW(root.shared, libid.c_str(), root.sam, 0);  // only when no other version is left
  if (library)
    for (const NamedGuid& itf : AutomationInterfaces(library))
      DeleteKey(root.view, root.sam, L"Interface\\" + GuidText(itf.guid));
}

}  // namespace hv::com
