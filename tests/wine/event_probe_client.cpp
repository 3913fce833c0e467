// The shared server scaffolding seen from a client, through the EventProbe test server:
// connection points with IDispatch-only sinks, variant conversion, error objects for any
// number, and the module's unload count.

#include <functional>
#include <string>
#include <vector>

#include <ocidl.h>
#include <olectl.h>

#include "EventProbe.h"
#include "support/check.h"
#include "support/dispatch_client.h"
#include "support/recording_sink.h"

using namespace hv::wine;

namespace {

using Sink = RecordingSink;

// An object that is no sink at all.
class NotASink : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (riid != IID_IUnknown) return E_NOINTERFACE;
    *ppv = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

Dispatch CreateProbe() {
  Dispatch probe;
  HV_CHECK_EQ(Dispatch::Create(L"HvTest.EventProbe", probe), S_OK);
  return probe;
}

}  // namespace

HV_WINE_TEST(EventsReachIDispatchSinks) {
  Dispatch probe = CreateProbe();
  ComPtr<IConnectionPoint> point = DefaultEventPoint(probe);
  if (!point) return;
  Sink a, b;
  DWORD ca = 0, cb = 0;
  HV_CHECK_EQ(point->Advise(&a, &ca), S_OK);
  HV_CHECK_EQ(point->Advise(&b, &cb), S_OK);
  HV_CHECK_EQ(ca, 1UL);
  HV_CHECK_EQ(cb, 2UL);
  HV_CHECK_EQ(probe.Get(L"Sinks").Long(), 2L);
  HV_CHECK_OK(probe.Call(L"Raise", std::wstring(L"x\0y", 3), short{2}));
  HV_CHECK_EQ(a.calls.size(), std::size_t{2});
  HV_CHECK_EQ(b.calls.size(), std::size_t{2});
  if (!a.calls.empty()) {
    HV_CHECK_EQ(a.calls[0].first, DISPID{1});
    HV_CHECK_EQ(a.calls[0].second, std::wstring(L"x\0y", 3));
  }
  // Cookies: a freed slot is used again; unknown cookies are refused.
  HV_CHECK_EQ(point->Unadvise(ca), S_OK);
  HV_CHECK_EQ(point->Unadvise(ca), CONNECT_E_NOCONNECTION);
  HV_CHECK_EQ(point->Unadvise(0), CONNECT_E_NOCONNECTION);
  HV_CHECK_EQ(point->Unadvise(99), CONNECT_E_NOCONNECTION);
  Sink c;
  DWORD cc = 0;
  HV_CHECK_EQ(point->Advise(&c, &cc), S_OK);
  HV_CHECK_EQ(cc, 1UL);
  NotASink stranger;
  DWORD cs = 0;
  HV_CHECK_EQ(point->Advise(&stranger, &cs), CONNECT_E_CANNOTCONNECT);
  HV_CHECK_EQ(point->Unadvise(cb), S_OK);
  HV_CHECK_EQ(point->Unadvise(cc), S_OK);
  HV_CHECK_EQ(probe.Get(L"Sinks").Long(), 0L);
  HV_CHECK_EQ(a.refs, 1UL);  // every reference the server took was given back
  HV_CHECK_EQ(b.refs, 1UL);
  HV_CHECK_EQ(c.refs, 1UL);
}

HV_WINE_TEST(HandlerThatUnadvisesDoesNotBreakTheLoop) {
  Dispatch probe = CreateProbe();
  ComPtr<IConnectionPoint> point = DefaultEventPoint(probe);
  if (!point) return;
  Sink first, second;
  DWORD c1 = 0, c2 = 0;
  point->Advise(&first, &c1);
  point->Advise(&second, &c2);
  // The first handler unadvises both: this round still reaches the second, the next one none.
  first.on_call = [&] {
    point->Unadvise(c1);
    point->Unadvise(c2);
  };
  HV_CHECK_OK(probe.Call(L"Raise", L"once", short{1}));
  HV_CHECK_EQ(first.calls.size(), std::size_t{1});
  HV_CHECK_EQ(second.calls.size(), std::size_t{1});
  HV_CHECK_OK(probe.Call(L"Raise", L"again", short{1}));
  HV_CHECK_EQ(first.calls.size(), std::size_t{1});
  HV_CHECK_EQ(second.calls.size(), std::size_t{1});
}

HV_WINE_TEST(TypeLibraryRegisteredUnderItsId) {
  ComPtr<ITypeLib> typelib;
  HV_CHECK_EQ(LoadRegTypeLib(LIBID_EventProbe, 1, 0, LOCALE_NEUTRAL, typelib.put()), S_OK);
}

HV_WINE_TEST(ConnectionPointPlumbing) {
  Dispatch probe = CreateProbe();
  ComPtr<IConnectionPointContainer> container;
  HV_CHECK_EQ(probe.get()->QueryInterface(IID_IConnectionPointContainer, container.put_void()),
              S_OK);
  if (!container) return;
  ComPtr<IConnectionPoint> none;
  HV_CHECK_EQ(container->FindConnectionPoint(IID_IDispatch, none.put()), CONNECT_E_NOCONNECTION);
  ComPtr<IConnectionPoint> point = DefaultEventPoint(probe);
  if (!point) return;
  ComPtr<IConnectionPointContainer> back;
  HV_CHECK_EQ(point->GetConnectionPointContainer(back.put()), S_OK);
  HV_CHECK(back.get() == container.get());
  ComPtr<IProvideClassInfo2> info;
  probe.get()->QueryInterface(IID_IProvideClassInfo2, info.put_void());
  ComPtr<ITypeInfo> coclass;
  HV_CHECK_EQ(info->GetClassInfo(coclass.put()), S_OK);
  if (coclass) {
    TYPEATTR* attr = nullptr;
    coclass->GetTypeAttr(&attr);
    HV_CHECK_EQ(attr->typekind, TKIND_COCLASS);
    coclass->ReleaseTypeAttr(attr);
  }
  GUID g;
  HV_CHECK_EQ(info->GetGUID(99, &g), E_INVALIDARG);
  // The point keeps its object alive after the client lets the object go.
  container.reset();
  back.reset();
  info.reset();
  probe.reset();
  Sink late;
  DWORD cookie = 0;
  HV_CHECK_EQ(point->Advise(&late, &cookie), S_OK);
  HV_CHECK_EQ(point->Unadvise(cookie), S_OK);
}

HV_WINE_TEST(VariantsTravelBothWays) {
  Dispatch probe = CreateProbe();
  Outcome i2 = probe.Call(L"Echo", short{-5});
  HV_CHECK_EQ(i2.type(), VT_I2);
  HV_CHECK_EQ(i2.Long(), -5L);
  Outcome i4 = probe.Call(L"Echo", 100000);
  HV_CHECK_EQ(i4.type(), VT_I4);
  Outcome text = probe.Call(L"Echo", std::wstring(L"a\0\u00E9\u20AC", 4));
  HV_CHECK_EQ(text.type(), VT_BSTR);
  HV_CHECK_EQ(text.Text(), std::wstring(L"a\0\u00E9\u20AC", 4));
  Outcome flag = probe.Call(L"Echo", true);
  HV_CHECK_EQ(flag.type(), VT_BOOL);
  HV_CHECK_EQ(V_BOOL(&flag.value.get()), VARIANT_TRUE);
  Outcome real = probe.Call(L"Echo", 2.5);
  HV_CHECK_EQ(real.type(), VT_R8);
  // A by-reference variant holding a by-reference Long.
  LONG number = 42;
  VARIANT inner;
  VariantInit(&inner);
  V_VT(&inner) = VT_BYREF | VT_I4;
  V_I4REF(&inner) = &number;
  Outcome byref = probe.Call(L"Echo", Arg::ByRef(&inner));
  HV_CHECK_EQ(byref.type(), VT_I4);
  HV_CHECK_EQ(byref.Long(), 42L);
  // An object is no value: Type mismatch.
  Outcome object = probe.Call(L"Echo", probe.get());
  HV_CHECK_EQ(object.VbNumber(), hv::vberr::kTypeMismatch);
  HV_CHECK_EQ(object.description, std::wstring(L"Type mismatch"));
  // A value the receiving type cannot hold is refused before the member runs.
  HV_CHECK(!probe.Call(L"Raise", L"x", 100000).ok());
}

HV_WINE_TEST(ErrorsCarryNumberDescriptionAndSource) {
  Dispatch probe = CreateProbe();
  Outcome e = probe.Call(L"Fail", 53, L"File not found");
  HV_CHECK_EQ(e.hr, DISP_E_EXCEPTION);
  HV_CHECK_EQ(e.scode, static_cast<SCODE>(0x800A0035));
  HV_CHECK_EQ(e.VbNumber(), hv::vberr::kFileNotFound);
  HV_CHECK_EQ(e.description, std::wstring(L"File not found"));
  HV_CHECK_EQ(e.source, std::wstring(L"HvTest.EventProbe"));
  Outcome text = probe.Call(L"Fail", 1000, std::wstring(L"two  blanks\0and a NUL", 21));
  HV_CHECK_EQ(text.VbNumber(), 1000L);
  // An error object's description is a C string (ICreateErrorInfo::SetDescription): it ends at
  // the first NUL. Blanks stay.
  HV_CHECK_EQ(text.description, std::wstring(L"two  blanks"));
  Outcome memory = probe.Call(L"Fail", hv::vberr::kOutOfMemory, L"Out of memory");
  HV_CHECK_EQ(memory.scode, E_OUTOFMEMORY);
  // After a failure, a good call works and reports no exception.
  Outcome good = probe.Call(L"Echo", 1);
  HV_CHECK_OK(good);
  HV_CHECK(good.description.empty());
}

HV_WINE_TEST(ForeignExceptionsBecomeInternalError) {
  Dispatch probe = CreateProbe();
  Outcome foreign = probe.Call(L"ThrowForeign", L"runtime_error");
  HV_CHECK_EQ(foreign.hr, DISP_E_EXCEPTION);
  HV_CHECK_EQ(foreign.VbNumber(), hv::vberr::kInternalError);
  HV_CHECK_EQ(foreign.description, std::wstring(L"Internal error: probe failure"));
  HV_CHECK_EQ(foreign.source, std::wstring(L"HvTest.EventProbe"));
  Outcome unknown = probe.Call(L"ThrowForeign", L"int");
  HV_CHECK_EQ(unknown.VbNumber(), hv::vberr::kInternalError);
  HV_CHECK_EQ(unknown.description, std::wstring(L"Internal error"));
  Outcome memory = probe.Call(L"ThrowForeign", L"bad_alloc");
  HV_CHECK_EQ(memory.hr, DISP_E_EXCEPTION);
  HV_CHECK_EQ(memory.scode, E_OUTOFMEMORY);
  HV_CHECK_EQ(memory.description, std::wstring(L"Out of memory"));
  HV_CHECK_OK(probe.Call(L"Echo", 1));
}

HV_WINE_TEST(ModuleStaysLoadedWhileUsed) {
  // The module COM loaded for us: the same handle LoadLibrary gives for its path.
  HMODULE module = GetModuleHandleW(L"EventProbe.dll");
  Dispatch probe = CreateProbe();
  module = GetModuleHandleW(L"EventProbe.dll");
  HV_CHECK(module != nullptr);
  if (!module) return;
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto can_unload = reinterpret_cast<CanUnload>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  HV_CHECK(can_unload != nullptr);
  if (!can_unload) return;
  HV_CHECK_EQ(can_unload(), S_FALSE);
  probe.reset();
  HV_CHECK_EQ(can_unload(), S_OK);
  // A client's lock on the class factory also keeps it.
  CLSID clsid;
  CLSIDFromProgID(L"HvTest.EventProbe", &clsid);
  ComPtr<IClassFactory> factory;
  HV_CHECK_EQ(
      CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put_void()),
      S_OK);
  if (!factory) return;
  ComPtr<IUnknown> outer_refused;
  HV_CHECK_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()), IID_IUnknown,
                                      outer_refused.put_void()),
              CLASS_E_NOAGGREGATION);
  HV_CHECK_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  HV_CHECK_EQ(can_unload(), S_FALSE);
  HV_CHECK_EQ(
      CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put_void()),
      S_OK);
  factory->LockServer(FALSE);
  factory.reset();
  HV_CHECK_EQ(can_unload(), S_OK);
}

int main(int argc, char** argv) {
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}
