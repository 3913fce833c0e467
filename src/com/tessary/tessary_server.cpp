// The entry points of Tessary.dll: its creatable classes and nothing more.

#include "Tessary.h"
#include "com/common/server.h"
#include "com/tessary/d64_object.h"
#include "com/tessary/extract_object.h"
#include "com/tessary/p00_object.h"
#include "com/tessary/prg_object.h"
#include "com/tessary/t64_object.h"

namespace {

using namespace hv::com;

const ClassEntry kClasses[] = {
    {CLSID_hvD64, L"Tessary.hvD64", L"Tessary D64 disk-image reader", &CreateInstance<D64Object>},
    {CLSID_hvT64, L"Tessary.hvT64", L"Tessary T64 tape-image reader", &CreateInstance<T64Object>},
    {CLSID_hvPRG, L"Tessary.hvPRG", L"Tessary PRG program-file reader", &CreateInstance<PrgObject>},
    {CLSID_hvP00, L"Tessary.hvP00", L"Tessary P00 container reader", &CreateInstance<P00Object>},
    {CLSID_hvExtract, L"Tessary.hvExtract", L"Tessary game-archive extraction",
     &ExtractObject::Create},
};

const ServerInfo kServer{LIBID_Tessary, 1, 0, kClasses};

}  // namespace

HV_COM_SERVER_EXPORTS(kServer)
