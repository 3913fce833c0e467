// The entry points of Halvane.dll: its creatable classes and nothing more.

#include "Halvane.h"
#include "com/common/server.h"
#include "com/halvane/functions_object.h"
#include "com/halvane/registry_object.h"
#include "com/halvane/shell_object.h"

namespace {

using namespace hv::com;

const ClassEntry kClasses[] = {
    {CLSID_hvFunctions, L"Halvane.hvFunctions", L"Halvane general functions",
     &CreateInstance<FunctionsObject>},
    {CLSID_hvRegistry, L"Halvane.hvRegistry", L"Halvane registry settings",
     &CreateInstance<RegistryObject>},
    {CLSID_hvShell, L"Halvane.hvShell", L"Halvane emulator launchers",
     &CreateInstance<ShellObject>},
};

const ServerInfo kServer{LIBID_Halvane, 1, 0, kClasses};

}  // namespace

HV_COM_SERVER_EXPORTS(kServer)
