// After `regsvr32 /u Tessary.dll` nothing of the server may be left to create.

#include <string>

#include "Tessary.h"
#include "support/check.h"
#include "support/dispatch_client.h"
#include "support/server_gone.h"

using namespace hv::wine;

namespace {

// "KIND\{id}", the key registration writes below HKEY_CLASSES_ROOT for an id.
std::wstring IdKey(const wchar_t* kind, const GUID& id) {
  wchar_t text[40] = {};
  StringFromGUID2(id, text, 40);
  return std::wstring(kind) + L"\\" + text;
}

}  // namespace

HV_WINE_TEST(ClassesAreGone) {
  // hvD64's class id stands for the classes.
  CheckServerGone({L"Tessary.hvD64", L"Tessary.hvT64", L"Tessary.hvPRG", L"Tessary.hvP00",
                   L"Tessary.hvExtract"},
                  CLSID_hvD64, LIBID_Tessary);
}

HV_WINE_TEST(NoKeysLeft) {
  // Every key registration wrote: ProgIDs, the class, the interfaces and the type library.
  for (const std::wstring& key :
       {std::wstring(L"Tessary.hvD64"), std::wstring(L"Tessary.hvT64"),
        std::wstring(L"Tessary.hvPRG"), std::wstring(L"Tessary.hvP00"),
        IdKey(L"CLSID", CLSID_hvD64), IdKey(L"CLSID", CLSID_hvP00), IdKey(L"Interface", IID_IhvD64),
        IdKey(L"Interface", IID_IhvD64Entry), IdKey(L"TypeLib", LIBID_Tessary)}) {
    hv::com::UniqueHkey handle;
    const LSTATUS status = RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, handle.put());
    if (!HV_CHECK_EQ(status, ERROR_FILE_NOT_FOUND)) std::printf("  left: %ls\n", key.c_str());
  }
}

int main(int argc, char** argv) {
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
