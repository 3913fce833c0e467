#pragma once
// The registry keys of an in-process server, below one classes root: HKEY_CLASSES_ROOT when it
// is registered for every user, HKCU\Software\Classes when for the current user alone.

#include <windows.h>

#include <oaidl.h>

#include <string>

#include "com/common/server.h"

namespace hv::com {

// ProgID -> CLSID, CLSID\{..}\InprocServer32 (path, apartment threaded), ProgID, TypeLib and
// Version for each class.
HRESULT WriteClassKeys(HKEY root, const ServerInfo& server, const std::wstring& path);
// Removes every key WriteClassKeys writes; absent keys are no error.
void RemoveClassKeys(HKEY root, const ServerInfo& server);

// The keys RegisterTypeLib writes (TypeLib\{libid}\<version> with FLAGS, HELPDIR and the
// path for this architecture; Interface\{iid} for each automation interface), written by hand:
// Wine's RegisterTypeLibForUser registers for every user instead.
HRESULT WriteTypeLibKeys(HKEY root, const ServerInfo& server, ITypeLib* library,
                         const std::wstring& path);
// Removes this architecture's path; the version key when no other architecture's remains.
void RemoveTypeLibKeys(HKEY root, const ServerInfo& server, ITypeLib* library);

}  // namespace hv::com
