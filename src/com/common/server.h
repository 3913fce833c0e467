#pragma once
// The four entry points of an in-process server, driven by a table of its creatable classes.
// A DLL lists its classes and defines its exports with one line:
//
//   const ClassEntry kClasses[] = {
//       {CLSID_Foo, L"Server.Foo", L"Foo object", &CreateInstance<FooObject>}};
//   const ServerInfo kServer{LIBID_Server, 1, 0, kClasses};
//   HV_COM_SERVER_EXPORTS(kServer)

#include <windows.h>

#include <oaidl.h>

#include <span>

namespace hv::com {

using CreateFunction = HRESULT (*)(REFIID riid, void** ppv);

struct ClassEntry {
  const CLSID& clsid;
  const wchar_t* prog_id;
  const wchar_t* description;
  CreateFunction create;
};

struct ServerInfo {
  const GUID& libid;
  unsigned short major;
  unsigned short minor;
  std::span<const ClassEntry> classes;
};

HRESULT ServerGetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID riid,
                             void** ppv) noexcept;
HRESULT ServerCanUnloadNow() noexcept;
// Writes ProgID -> CLSID, CLSID\{..}\InprocServer32 (this DLL, apartment threaded), ProgID,
// TypeLib and Version for each class, then registers the embedded type library.
HRESULT ServerRegister(const ServerInfo& server) noexcept;
// Removes every key ServerRegister wrote and unregisters the type library.
HRESULT ServerUnregister(const ServerInfo& server) noexcept;
// DllInstall. Command "user" (any case) registers or unregisters for the current user alone,
// under HKCU\Software\Classes, as `regsvr32 [/u] /n /i:user` asks (no administrator rights
// needed); an empty command does what DllRegisterServer or DllUnregisterServer does.
HRESULT ServerInstall(const ServerInfo& server, bool install, const wchar_t* command) noexcept;

}  // namespace hv::com

// Defines DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer and
// DllInstall for the server table `server`, at global scope (the names the .def file exports).
#define HV_COM_SERVER_EXPORTS(server)                                   \
  STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {   \
    return ::hv::com::ServerGetClassObject(server, clsid, riid, ppv);   \
  }                                                                     \
  STDAPI DllCanUnloadNow() {                                            \
    return ::hv::com::ServerCanUnloadNow();                             \
  }                                                                     \
  STDAPI DllRegisterServer() {                                          \
    return ::hv::com::ServerRegister(server);                           \
  }                                                                     \
  STDAPI DllUnregisterServer() {                                        \
    return ::hv::com::ServerUnregister(server);                         \
  }                                                                     \
  STDAPI DllInstall(BOOL install, LPCWSTR command) {                    \
    return ::hv::com::ServerInstall(server, install != FALSE, command); \
  }
