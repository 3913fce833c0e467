// After `regsvr32 /u Halvane.dll` nothing of the server may be left to create.

#include "Halvane.h"
#include "support/check.h"
#include "support/dispatch_client.h"
#include "support/server_gone.h"

using namespace hv::wine;

HV_WINE_TEST(ClassesAreGone) {
  // hvShell's class id stands for the classes.
  CheckServerGone({L"Halvane.hvFunctions", L"Halvane.hvRegistry", L"Halvane.hvShell"},
                  CLSID_hvShell, LIBID_Halvane);
}

int main(int argc, char** argv) {
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
