// With Halvane.dll unregistered and Tessary.dll still registered, creating an hvExtract fails
// with the failure of creating Halvane.hvFunctions, while the readers still work.

#include "support/check.h"
#include "support/dispatch_client.h"

using namespace hv::wine;

HV_WINE_TEST(ExtractCannotBeCreated) {
  Dispatch halvane;
  const HRESULT halvane_hr = Dispatch::Create(L"Halvane.hvFunctions", halvane);
  HV_CHECK(FAILED(halvane_hr));
  Dispatch extract;
  const HRESULT hr = Dispatch::Create(L"Tessary.hvExtract", extract);
  HV_CHECK(FAILED(hr));
  HV_CHECK(!extract);
  HV_CHECK_EQ(hr, halvane_hr);
  // The error object says which class was missing.
  ComPtr<IErrorInfo> info;
  if (HV_CHECK_EQ(GetErrorInfo(0, info.put()), S_OK) && info) {
    UniqueBstr text;
    info->GetDescription(text.put());
    const std::wstring description = text ? text.get() : L"";
    HV_CHECK(description.find(L"Halvane.hvFunctions") != std::wstring::npos);
  }
}

HV_WINE_TEST(ReadersStillWork) {
  Dispatch prg;
  HV_CHECK_EQ(Dispatch::Create(L"Tessary.hvPRG", prg), S_OK);
}

int main(int argc, char** argv) {
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
