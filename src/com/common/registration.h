#pragma once
// The registry keys of an in-process server, below one classes root: HKEY_CLASSES_ROOT when it
// is registered for every user, HKCU\Software\Classes when for the current user alone.

#include <windows.h>

#include <oaidl.h>

#include <string>

#include "com/common/server.h"

namespace hv::com {

// Where one architecture's keys go below a classes root. On 64-bit Windows a 32-bit process
// reads CLSID and Interface in a view of its own (below Wow6432Node), while ProgIDs and TypeLib
// are shared by both architectures. Machine-wide, HKEY_CLASSES_ROOT is all three: Windows
// picks the view. Per user, the keys are opened where the architecture reads them.
struct ClassesRoot {
  HKEY shared;                // ProgIDs and TypeLib
  HKEY view;                  // CLSID and Interface of this architecture
  HKEY other_view = nullptr;  // CLSID of the other architecture, when there is one
  REGSAM sam = 0;             // KEY_WOW64_64KEY where the keys are opened as they are named
};

// ProgID -> CLSID, CLSID\{..}\InprocServer32 (path, apartment threaded), ProgID, TypeLib and
// Version for each class.
HRESULT WriteClassKeys(const ClassesRoot& root, const ServerInfo& server, const std::wstring& path);
// Removes every key WriteClassKeys writes; absent keys are no error. A ProgID stays while the
// other architecture still registers its class.
void RemoveClassKeys(const ClassesRoot& root, const ServerInfo& server);

// The keys RegisterTypeLib writes (TypeLib\{libid}\<version> with FLAGS, HELPDIR and the
// path for this architecture; Interface\{iid} for each automation interface), written by hand:
// Wine's RegisterTypeLibForUser registers for every user instead.
HRESULT WriteTypeLibKeys(const ClassesRoot& root, const ServerInfo& server, ITypeLib* library,
                         const std::wstring& path);
// Removes this architecture's path; the version key when no other architecture's remains, and
// otherwise points HELPDIR at the folder of the one that does.
void RemoveTypeLibKeys(const ClassesRoot& root, const ServerInfo& server, ITypeLib* library);

}  // namespace hv::com
