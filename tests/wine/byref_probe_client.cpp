// By-reference variants in call shapes no script sends, through the ByRefProbe test server:
// named arguments, a typed reference wrapped in a variant, null and endless references, and the
// index of the argument that does not convert.

#include <string>
#include <vector>

#include "support/check.h"
#include "support/dispatch_client.h"

using namespace hv::wine;

namespace {

constexpr DISPID kBump = 1;
constexpr DISPID kPeek = 3;

// Bump's six by-reference arguments as a script's variables: variants the caller owns.
struct Variables {
  UniqueVariant v[6];
  Variables() {
    V_VT(v[0].addr()) = VT_BSTR;
    V_BSTR(v[0].addr()) = SysAllocString(L"abc");
    for (int i = 1; i < 6; ++i) {
      V_VT(v[i].addr()) = VT_I4;
      V_I4(v[i].addr()) = i;
    }
  }
  VARIANT Ref(int i) {
    VARIANT r;
    V_VT(&r) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&r) = v[i].addr();
    return r;
  }
  std::wstring Text() const {
    const VARIANT& t = v[0].get();
    return V_VT(&t) == VT_BSTR ? std::wstring(V_BSTR(&t), SysStringLen(V_BSTR(&t))) : L"?";
  }
};

struct Call {
  HRESULT hr = E_FAIL;
  UINT arg_err = 99;
  UniqueVariant result;
  std::wstring Text() const {
    const VARIANT& r = result.get();
    return V_VT(&r) == VT_BSTR ? std::wstring(V_BSTR(&r), SysStringLen(V_BSTR(&r))) : L"?";
  }
};

// `args` right to left, as rgvarg holds them; `named` the dispatch ids of the first ones.
Call Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> args,
            std::vector<DISPID> named = {}) {
  Call call;
  DISPPARAMS params{args.data(), named.empty() ? nullptr : named.data(),
                    static_cast<UINT>(args.size()), static_cast<UINT>(named.size())};
  EXCEPINFO excep{};
  call.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, call.result.put(),
                           &excep, &call.arg_err);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  return call;
}

Dispatch Probe() {
  Dispatch probe;
  Dispatch::Create(L"HvTest.ByRefProbe", probe);
  return probe;
}

}  // namespace

HV_WINE_TEST(NamedArgumentsReachTheirParameters) {
  Dispatch probe = Probe();
  if (!HV_CHECK(static_cast<bool>(probe))) return;
  Variables vars;
  // All six by name, in a shuffled order: rgvarg[k] fills parameter named[k].
  Call all = Invoke(probe.get(), kBump, DISPATCH_METHOD,
                    {vars.Ref(3), vars.Ref(0), vars.Ref(5), vars.Ref(1), vars.Ref(4), vars.Ref(2)},
                    {3, 0, 5, 1, 4, 2});
  HV_CHECK_EQ(all.hr, S_OK);
  HV_CHECK_EQ(all.Text(), std::wstring(L"abc|1|2|-1|4|5"));
  HV_CHECK_EQ(vars.Text(), std::wstring(L"abc+"));
  HV_CHECK_EQ(V_VT(vars.v[1].addr()), VT_I2);
  HV_CHECK_EQ(V_I2(vars.v[1].addr()), 2);
  HV_CHECK_EQ(V_VT(vars.v[2].addr()), VT_I4);
  HV_CHECK_EQ(V_I4(vars.v[2].addr()), 3L);
  HV_CHECK_EQ(V_VT(vars.v[3].addr()), VT_BOOL);
  HV_CHECK_EQ(V_BOOL(vars.v[3].addr()), VARIANT_FALSE);
  HV_CHECK_EQ(V_VT(vars.v[4].addr()), VT_I4);  // the enumeration
  HV_CHECK_EQ(V_I4(vars.v[4].addr()), 5L);
  HV_CHECK_EQ(V_VT(vars.v[5].addr()), VT_R8);
  HV_CHECK_EQ(V_R8(vars.v[5].addr()), 10.0);

  // Two positional, four named behind them.
  Variables mixed;
  Call some =
      Invoke(probe.get(), kBump, DISPATCH_METHOD,
             {mixed.Ref(5), mixed.Ref(2), mixed.Ref(4), mixed.Ref(3), mixed.Ref(1), mixed.Ref(0)},
             {5, 2, 4, 3});
  HV_CHECK_EQ(some.hr, S_OK);
  HV_CHECK_EQ(some.Text(), std::wstring(L"abc|1|2|-1|4|5"));
  HV_CHECK_EQ(mixed.Text(), std::wstring(L"abc+"));
  HV_CHECK_EQ(V_I2(mixed.v[1].addr()), 2);
}

HV_WINE_TEST(ReferencesInsideReferences) {
  Dispatch probe = Probe();
  if (!HV_CHECK(static_cast<bool>(probe))) return;
  // A variant holding a typed reference: the member writes through to the typed variable.
  UniqueBstr typed(SysAllocString(L"typed"));
  short number = 7;
  UniqueVariant text_holder, number_holder;
  V_VT(text_holder.addr()) = VT_BYREF | VT_BSTR;
  V_BSTRREF(text_holder.addr()) = typed.addressof();
  V_VT(number_holder.addr()) = VT_BYREF | VT_I2;
  V_I2REF(number_holder.addr()) = &number;
  VARIANT text_ref, number_ref;
  V_VT(&text_ref) = V_VT(&number_ref) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&text_ref) = text_holder.addr();
  V_VARIANTREF(&number_ref) = number_holder.addr();
  Call peek = Invoke(probe.get(), kPeek, DISPATCH_METHOD, {number_ref, text_ref});
  HV_CHECK_EQ(peek.hr, S_OK);
  HV_CHECK_EQ(peek.Text(), std::wstring(L"typed|7"));
  Variables vars;
  VARIANT into_typed = vars.Ref(0);
  V_VARIANTREF(&into_typed) = text_holder.addr();
  Call bump = Invoke(probe.get(), kBump, DISPATCH_METHOD,
                     {vars.Ref(5), vars.Ref(4), vars.Ref(3), vars.Ref(2), vars.Ref(1), into_typed});
  HV_CHECK_EQ(bump.hr, S_OK);
  HV_CHECK_EQ(std::wstring(typed.get(), SysStringLen(typed.get())), std::wstring(L"typed+"));

  // A reference to a reference to a variable is followed to the variable.
  Variables deep;
  VARIANT middle = deep.Ref(0);
  VARIANT outer;
  V_VT(&outer) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&outer) = &middle;
  Call chained = Invoke(probe.get(), kPeek, DISPATCH_METHOD, {deep.Ref(1), outer});
  HV_CHECK_EQ(chained.hr, S_OK);
  HV_CHECK_EQ(chained.Text(), std::wstring(L"abc|1"));

  // A variant that refers to itself ends as a type mismatch, not a hang.
  VARIANT loop;
  V_VT(&loop) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&loop) = &loop;
  Call endless = Invoke(probe.get(), kPeek, DISPATCH_METHOD, {deep.Ref(1), loop});
  HV_CHECK_EQ(endless.hr, DISP_E_TYPEMISMATCH);
  HV_CHECK_EQ(endless.arg_err, 1u);
}

HV_WINE_TEST(BadReferencesNameTheirArgument) {
  Dispatch probe = Probe();
  if (!HV_CHECK(static_cast<bool>(probe))) return;
  Variables vars;
  VARIANT null_ref;
  V_VT(&null_ref) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&null_ref) = nullptr;
  Call null_call = Invoke(probe.get(), kPeek, DISPATCH_METHOD, {null_ref, vars.Ref(0)});
  HV_CHECK_EQ(null_call.hr, DISP_E_TYPEMISMATCH);
  HV_CHECK_EQ(null_call.arg_err, 0u);

  // intValue, second from the left, is rgvarg[4] of six.
  V_VT(vars.v[1].addr()) = VT_BSTR;
  V_BSTR(vars.v[1].addr()) = SysAllocString(L"abc");
  Call bad = Invoke(probe.get(), kBump, DISPATCH_METHOD,
                    {vars.Ref(5), vars.Ref(4), vars.Ref(3), vars.Ref(2), vars.Ref(1), vars.Ref(0)});
  HV_CHECK_EQ(bad.hr, DISP_E_TYPEMISMATCH);
  HV_CHECK_EQ(bad.arg_err, 4u);
  HV_CHECK_EQ(vars.Text(), std::wstring(L"abc"));  // the member never ran
}

HV_WINE_TEST(ManyCallsLeaveNothingBehind) {
  Dispatch probe = Probe();
  if (!HV_CHECK(static_cast<bool>(probe))) return;
  Variables vars;
  bool all_ok = true;
  for (int i = 0; i < 20000 && all_ok; ++i) {
    Call call = Invoke(probe.get(), kPeek, DISPATCH_METHOD, {vars.Ref(1), vars.Ref(0)});
    all_ok = call.hr == S_OK;
  }
  HV_CHECK(all_ok);
  HV_CHECK_EQ(vars.Text(), std::wstring(L"abc"));
}

int main(int argc, char** argv) {
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
