// After `regsvr32 /u Halvane.dll` nothing of the server may be left to create.

#include "support/check.h"
#include "support/dispatch_client.h"
#include "support/server_gone.h"

using namespace hv::wine;

HV_WINE_TEST(ClassesAreGone) {
  // hvShell's class id stands for the classes.
  const CLSID shell = {
      0x9FCD5852, 0x31CE, 0x4712, {0xA4, 0xAD, 0xB8, 0xA1, 0x13, 0x03, 0x80, 0xFF}};
  const GUID library = {
      0xEA0F0247, 0xDD1E, 0x4B21, {0x8E, 0x28, 0x75, 0x59, 0x83, 0x84, 0xDC, 0x2A}};
  CheckServerGone({L"Halvane.hvFunctions", L"Halvane.hvRegistry", L"Halvane.hvShell"}, shell,
                  library);
}

int main(int argc, char** argv) {
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
