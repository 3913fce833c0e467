// After `regsvr32 /u Tessary.dll` nothing of the server may be left to create.

#include "support/check.h"
#include "support/dispatch_client.h"
#include "support/server_gone.h"

using namespace hv::wine;

HV_WINE_TEST(ClassesAreGone) {
  // hvD64's class id stands for the classes.
  const CLSID hvD64 = {
      0x6208331B, 0xF7B9, 0x4D8F, {0x8B, 0x0F, 0xE1, 0x79, 0xAB, 0x6E, 0xB1, 0x15}};
  const GUID library = {
      0xD52BCB6B, 0x77ED, 0x4A0D, {0x88, 0xAB, 0xAC, 0xB2, 0x8A, 0xFC, 0x7C, 0x90}};
  CheckServerGone({L"Tessary.hvD64", L"Tessary.hvT64", L"Tessary.hvPRG", L"Tessary.hvP00",
                   L"Tessary.hvExtract"},
                  hvD64, library);
}

HV_WINE_TEST(NoKeysLeft) {
  // Every key registration wrote: ProgIDs, the class, the interfaces and the type library.
  for (const wchar_t* key : {L"Tessary.hvD64", L"Tessary.hvT64", L"Tessary.hvPRG", L"Tessary.hvP00",
                             L"CLSID\\{6208331B-F7B9-4D8F-8B0F-E179AB6EB115}",
                             L"CLSID\\{4C041678-A0BB-410D-99F8-CA4D2DAEF549}",
                             L"Interface\\{542AF8E0-9D06-4C0C-B66C-FEFB414BF8D3}",
                             L"Interface\\{1AB70D54-1C9C-440A-A1C2-53C26F4FC4DB}",
                             L"TypeLib\\{D52BCB6B-77ED-4A0D-88AB-ACB28AFC7C90}"}) {
    hv::com::UniqueHkey handle;
    const LSTATUS status = RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, handle.put());
    if (!HV_CHECK_EQ(status, ERROR_FILE_NOT_FOUND)) std::printf("  left: %ls\n", key);
  }
}

int main(int argc, char** argv) {
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
