// Halvane.hvRegistry driven as the front-end drives it: every argument a typed variable passed
// by reference. run.sh reads the values written here back with `reg query`.
// argv[1]: the data folder (unused here).

#include <string>

#include "support/halvane_client.h"

using namespace hv::wine;

namespace {

const wchar_t kKey[] = L"Software\\HalvaneWineTest";

struct Call {
  StringVar root;
  StringVar key{kKey};
  StringVar name;
  VARIANT_BOOL string_type = VARIANT_TRUE;

  explicit Call(const wchar_t* value_name, const wchar_t* root_name = L"HKEY_CURRENT_USER")
      : root(root_name), name(value_name) {}
  Outcome Save(const Dispatch& reg, VariantVar& value) {
    return reg.Get(L"SaveSetting", root.ByRef(), key.ByRef(), name.ByRef(), value.ByRef(),
                   Arg::ByRefBool(&string_type));
  }
  Outcome Get(const Dispatch& reg, VariantVar& value) {
    return reg.Get(L"GetSetting", root.ByRef(), key.ByRef(), name.ByRef(), value.ByRef(),
                   Arg::ByRefBool(&string_type));
  }
  Outcome Get(const Dispatch& reg, VariantVar& value, VariantVar& fallback) {
    return reg.Get(L"GetSetting", root.ByRef(), key.ByRef(), name.ByRef(), value.ByRef(),
                   Arg::ByRefBool(&string_type), fallback.ByRef());
  }
};

}  // namespace

HV_WINE_TEST(StringAndNumberSettingsRoundTrip) {
  Dispatch reg = CreateHalvane(L"Halvane.hvRegistry");
  Call text(L"Text");
  VariantVar abc(Arg(L"ABC"));
  HV_CHECK(IsTrue(text.Save(reg, abc)));
  // The by-reference arguments come back as they went in.
  HV_CHECK_EQ(text.root.Text(), std::wstring(L"HKEY_CURRENT_USER"));
  HV_CHECK_EQ(abc.Text(), std::wstring(L"ABC"));
  VariantVar read;
  HV_CHECK(IsTrue(text.Get(reg, read)));
  HV_CHECK_EQ(read.type(), VT_BSTR);
  HV_CHECK_EQ(read.Text(), std::wstring(L"ABC"));  // no trailing NUL

  Call number(L"Number");
  number.string_type = VARIANT_FALSE;
  VariantVar five(Arg(short{5}));
  HV_CHECK(IsTrue(number.Save(reg, five)));
  VariantVar n;
  HV_CHECK(IsTrue(number.Get(reg, n)));
  HV_CHECK_EQ(n.type(), VT_I4);
  HV_CHECK_EQ(n.Long(), 5L);

  // The root name is not case-sensitive.
  Call lower(L"Lower", L"hkey_current_user");
  VariantVar lower_value(Arg(L"low"));
  HV_CHECK(IsTrue(lower.Save(reg, lower_value)));
}

HV_WINE_TEST(OnlyTrueSelectsAString) {
  Dispatch reg = CreateHalvane(L"Halvane.hvRegistry");
  // A Boolean variable holding 1, not True (-1): the value is stored as a 32-bit integer.
  Call raw(L"RawOne");
  raw.string_type = 1;
  VariantVar seven(Arg(L"7"));
  HV_CHECK(IsTrue(raw.Save(reg, seven)));
  VariantVar back;
  HV_CHECK(IsTrue(raw.Get(reg, back)));
  HV_CHECK_EQ(back.type(), VT_I4);
  HV_CHECK_EQ(back.Long(), 7L);
}

HV_WINE_TEST(MissingValuesAndDefaults) {
  Dispatch reg = CreateHalvane(L"Halvane.hvRegistry");
  Call missing(L"NeverWritten");
  VariantVar value(Arg(L"before"));
  HV_CHECK(IsTrue(missing.Get(reg, value)));
  HV_CHECK_EQ(value.Text(), std::wstring(L"--NOT-FOUND--"));
  // Nothing was stored for it.
  VariantVar again;
  HV_CHECK(IsTrue(missing.Get(reg, again)));
  HV_CHECK_EQ(again.Text(), std::wstring(L"--NOT-FOUND--"));

  // A default is stored and read back, as a 32-bit integer here.
  Call defaulted(L"Default5");
  defaulted.string_type = VARIANT_FALSE;
  VariantVar got, fallback(Arg(short{5}));
  HV_CHECK(IsTrue(defaulted.Get(reg, got, fallback)));
  HV_CHECK_EQ(got.type(), VT_I4);
  HV_CHECK_EQ(got.Long(), 5L);

  // A typed String variable receives the value in place.
  Call text(L"Text");
  StringVar typed(L"old");
  Outcome into_string =
      reg.Get(L"GetSetting", text.root.ByRef(), text.key.ByRef(), text.name.ByRef(), typed.ByRef(),
              Arg::ByRefBool(&text.string_type));
  HV_CHECK(IsTrue(into_string));
  HV_CHECK_EQ(typed.Text(), std::wstring(L"ABC"));
}

HV_WINE_TEST(UnknownRootsGiveFalse) {
  Dispatch reg = CreateHalvane(L"Halvane.hvRegistry");
  for (const wchar_t* root : {L"HKCU", L"HKEY_CURRENT_CONFIG", L""}) {
    Call call(L"Text", root);
    VariantVar value(Arg(L"untouched"));
    HV_CHECK(IsFalse(call.Save(reg, value)));
    HV_CHECK(IsFalse(call.Get(reg, value)));
    HV_CHECK_EQ(value.Text(), std::wstring(L"untouched"));
  }
}

HV_WINE_TEST(ConversionErrorsReachTheClient) {
  Dispatch reg = CreateHalvane(L"Halvane.hvRegistry");
  Call bad(L"NotANumber");
  bad.string_type = VARIANT_FALSE;
  VariantVar text(Arg(L"abc"));
  Outcome failed = bad.Save(reg, text);
  HV_CHECK_EQ(failed.hr, DISP_E_EXCEPTION);
  HV_CHECK_EQ(failed.VbNumber(), hv::vberr::kTypeMismatch);
  HV_CHECK_EQ(failed.description, std::wstring(L"Type mismatch"));
  HV_CHECK_EQ(failed.source, std::wstring(L"Halvane.hvRegistry"));
  // Nothing was written.
  bad.string_type = VARIANT_TRUE;
  VariantVar value;
  HV_CHECK(IsTrue(bad.Get(reg, value)));
  HV_CHECK_EQ(value.Text(), std::wstring(L"--NOT-FOUND--"));
  // The same for a default that cannot become a number.
  bad.string_type = VARIANT_FALSE;
  VariantVar fallback(Arg(L"xyz"));
  HV_CHECK_EQ(bad.Get(reg, value, fallback).VbNumber(), hv::vberr::kTypeMismatch);
}

int main(int argc, char** argv) {
  return HalvaneMain(argc, argv, "halvane_registry_client");
}
