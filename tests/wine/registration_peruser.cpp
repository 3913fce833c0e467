// What `regsvr32 /n /i:user` leaves (test RegisteredForUser) and what `regsvr32 /u /n /i:user`
// takes away (test GoneForUser), for every server DLL in the folder given (Tessary, Halvane).
// Everything is found through each DLL's own type library: its name, classes and interfaces.
//   registration_peruser.exe <bin folder> RegisteredForUser|GoneForUser

#include <string>
#include <vector>

#include "support/check.h"
#include "support/dispatch_client.h"

using namespace hv::wine;

namespace {

constexpr const wchar_t* kSysKind = sizeof(void*) == 8 ? L"win64" : L"win32";

std::wstring Widen(const char* text) {
  std::wstring out;
  while (*text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text++));
  return out;
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

struct Named {
  GUID guid;
  std::wstring name;
};
struct Server {
  std::wstring path;
  std::wstring name;  // the library's name, the first part of each ProgID
  GUID libid{};
  WORD flags = 0;
  std::vector<Named> classes;
  std::vector<Named> interfaces;
};

Server Describe(const std::wstring& path) {
  Server server;
  server.path = path;
  ComPtr<ITypeLib> library;
  if (!HV_CHECK(SUCCEEDED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put())))) return server;
  UniqueBstr name;
  library->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);
  server.name = name.get();
  TLIBATTR* lib = nullptr;
  library->GetLibAttr(&lib);
  server.libid = lib->guid;
  server.flags = lib->wLibFlags;
  library->ReleaseTLibAttr(lib);
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ComPtr<ITypeInfo> info;
    library->GetTypeInfo(i, info.put());
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    UniqueBstr item;
    library->GetDocumentation(static_cast<INT>(i), item.put(), nullptr, nullptr, nullptr);
    Named named{attr->guid, item.get()};
    if (attr->typekind == TKIND_COCLASS && (attr->wTypeFlags & TYPEFLAG_FCANCREATE))
      server.classes.push_back(named);
    if (attr->typekind == TKIND_DISPATCH ||
        (attr->typekind == TKIND_INTERFACE &&
         (attr->wTypeFlags & (TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDUAL))))
      server.interfaces.push_back(named);
    info->ReleaseTypeAttr(attr);
  }
  return server;
}

std::vector<Server> Servers(const char* folder) {
  std::vector<Server> servers;
  for (const wchar_t* dll : {L"Tessary.dll", L"Halvane.dll"})
    servers.push_back(Describe(Widen(folder) + L"\\" + dll));
  return servers;
}

// Keys are opened by the names they have (KEY_WOW64_64KEY), never through a redirection.
bool KeyExists(HKEY root, const std::wstring& key) {
  hv::com::UniqueHkey handle;
  return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, handle.put()) ==
         ERROR_SUCCESS;
}

// Where this process finds a key below HKCU\Software\Classes on Windows: a 32-bit process on
// 64-bit Windows reads CLSID and Interface below Wow6432Node, and shares the rest.
std::wstring UserKey(const std::wstring& key) {
  BOOL wow64 = FALSE;
  const bool own_view = key.rfind(L"CLSID\\", 0) == 0 || key.rfind(L"Interface\\", 0) == 0;
  const bool redirected = own_view && IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
  return std::wstring(L"Software\\Classes\\") + (redirected ? L"Wow6432Node\\" : L"") + key;
}

// A text value below HKCU\Software\Classes; "<absent>" when there is none.
std::wstring UserValue(const std::wstring& key, const wchar_t* name = nullptr) {
  hv::com::UniqueHkey handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, UserKey(key).c_str(), 0, KEY_READ | KEY_WOW64_64KEY,
                    handle.put()) != ERROR_SUCCESS)
    return L"<absent>";
  wchar_t data[1024];
  DWORD size = sizeof data;
  if (RegGetValueW(handle.get(), nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return L"<absent>";
  return data;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

// Creates a class from the per-user keys alone, as COM on Windows does once it finds them in
// the merged HKEY_CLASSES_ROOT (Wine's COM reads only the machine's classes).
HRESULT CreateFromUserKeys(const std::wstring& clsid_text, REFCLSID clsid, ComPtr<IDispatch>& out) {
  const std::wstring path = UserValue(L"CLSID\\" + clsid_text + L"\\InprocServer32");
  HMODULE module = LoadLibraryW(path.c_str());  // stays loaded: objects may outlive the test
  if (!module) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  if (!get) return E_NOINTERFACE;
  ComPtr<IClassFactory> factory;
  HRESULT hr = get(clsid, IID_IClassFactory, factory.put_void());
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(nullptr, IID_IDispatch, out.put_void());
}

}  // namespace

HV_WINE_TEST(RegisteredForUser) {
  for (const Server& server : Servers(__argv[1])) {
    const std::wstring libid = GuidText(server.libid);
    HV_CHECK(!server.classes.empty() && !server.interfaces.empty());
    for (const Named& coclass : server.classes) {
      const std::wstring prog_id = server.name + L"." + coclass.name;
      const std::wstring clsid = GuidText(coclass.guid);
      const std::wstring key = L"CLSID\\" + clsid;
      HV_CHECK_EQ(UserValue(prog_id + L"\\CLSID"), clsid);
      HV_CHECK_EQ(Lower(UserValue(key + L"\\InprocServer32")), Lower(server.path));
      HV_CHECK_EQ(UserValue(key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
      HV_CHECK_EQ(UserValue(key + L"\\ProgID"), prog_id);
      HV_CHECK_EQ(UserValue(key + L"\\TypeLib"), libid);
      // Nothing for every user: an administrator's registration would show here.
      HV_CHECK(!KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + prog_id));
      HV_CHECK(!KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + key));
      // hvExtract creates Halvane.hvFunctions by name, which Wine looks for machine-wide only.
      if (coclass.name == L"hvExtract") continue;
      ComPtr<IDispatch> object;
      if (!HV_CHECK_EQ(CreateFromUserKeys(clsid, coclass.guid, object), S_OK)) continue;
      UINT count = 0;
      HV_CHECK(SUCCEEDED(object->GetTypeInfoCount(&count)) && count == 1);
    }
    const std::wstring lib_key = L"TypeLib\\" + libid + L"\\1.0";
    HV_CHECK_EQ(Lower(UserValue(lib_key + L"\\0\\" + kSysKind)), Lower(server.path));
    // As RegisterTypeLib writes them for every user.
    HV_CHECK_EQ(UserValue(lib_key + L"\\FLAGS"), std::to_wstring(server.flags));
    // One HELPDIR for both architectures: the folder of either registration.
    const std::wstring help = Lower(UserValue(lib_key + L"\\HELPDIR"));
    bool help_ok = false;
    for (const wchar_t* kind : {L"win32", L"win64"}) {
      const std::wstring path = Lower(UserValue(lib_key + L"\\0\\" + kind));
      help_ok =
          help_ok || (path != L"<absent>" && path.substr(0, path.find_last_of(L'\\')) == help);
    }
    if (!HV_CHECK(help_ok)) std::printf("  HELPDIR %ls names no registered folder\n", help.c_str());
    HV_CHECK(!KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\TypeLib\\" + libid));
    ComPtr<ITypeLib> library;
    HV_CHECK(SUCCEEDED(LoadTypeLibEx(UserValue(lib_key + L"\\0\\" + kSysKind).c_str(), REGKIND_NONE,
                                     library.put())));
    for (const Named& itf : server.interfaces) {
      const std::wstring key = L"Interface\\" + GuidText(itf.guid);
      HV_CHECK_EQ(UserValue(key), itf.name);
      HV_CHECK_EQ(UserValue(key + L"\\TypeLib"), libid);
      HV_CHECK_EQ(UserValue(key + L"\\ProxyStubClsid32"),
                  L"{00020424-0000-0000-C000-000000000046}");
    }
  }
}

HV_WINE_TEST(GoneForUser) {
  const HKEY user = HKEY_CURRENT_USER;
  for (const Server& server : Servers(__argv[1])) {
    // A command DllInstall does not know is refused and writes nothing.
    HMODULE module = LoadLibraryW(server.path.c_str());
    using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
    auto install =
        reinterpret_cast<Install>(reinterpret_cast<void*>(GetProcAddress(module, "DllInstall")));
    if (HV_CHECK(install != nullptr)) HV_CHECK_EQ(install(TRUE, L"users"), E_INVALIDARG);

    // The keys below are those the type library names: without its classes there is nothing
    // to look for, and "nothing left" would hold of an empty list.
    HV_CHECK(!server.classes.empty() && !server.interfaces.empty());

    std::vector<std::wstring> keys = {L"TypeLib\\" + GuidText(server.libid)};
    for (const Named& coclass : server.classes) {
      keys.push_back(server.name + L"." + coclass.name);
      keys.push_back(L"CLSID\\" + GuidText(coclass.guid));
    }
    for (const Named& itf : server.interfaces) keys.push_back(L"Interface\\" + GuidText(itf.guid));
    for (const std::wstring& key : keys)
      if (!HV_CHECK(!KeyExists(user, UserKey(key))))
        std::printf("  left: HKCU\\%ls\n", UserKey(key).c_str());
  }
}

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
