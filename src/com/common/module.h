#pragma once
// State of the DLL this library is linked into: its handle and path, the live-object and
// lock counts behind DllCanUnloadNow, and the type information of its embedded type library
// (loaded on first use, shared by every object, released when the DLL unloads).

#include <windows.h>

#include <oaidl.h>

#include <string>

namespace hv::com {

HMODULE ThisModule() noexcept;
std::wstring ModulePath();

void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void LockModule(bool lock) noexcept;
// True when no object is alive and no client holds a lock.
bool ModuleIdle() noexcept;

// The module's type library (resource 1 of kind TYPELIB), loaded without registering it.
HRESULT ModuleTypeLib(ITypeLib** out) noexcept;
// The type information of one interface or class of that library (a new reference).
HRESULT ModuleTypeInfo(REFGUID guid, ITypeInfo** out) noexcept;
// The id of the type named `name` in that library: widl writes a record's id into no header.
HRESULT ModuleTypeId(const wchar_t* name, GUID* out) noexcept;

}  // namespace hv::com
