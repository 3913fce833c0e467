// The EventProbe test server: thin members over the shared scaffolding.

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "EventProbe.h"
#include "com/common/connection_points.h"
#include "com/common/returns.h"
#include "com/common/server.h"
#include "com/common/variant_convert.h"

namespace {

using namespace hv::com;

class ProbeObject
    : public EventSource<
          ProbeObject,
          DispatchObject<ProbeObject, IEventProbe, IConnectionPointContainer, IProvideClassInfo2>> {
 public:
  static constexpr const char* kSource = "HvTest.EventProbe";
  static const IID& EventIid() { return DIID_EventProbeEvents; }
  static const CLSID& ClassId() { return CLSID_EventProbe; }

  HRESULT STDMETHODCALLTYPE Raise(BSTR strText, short intTimes) override {
    return Guard("Raise", [&] {
      for (short i = 0; i < intTimes; ++i) {
        std::vector<UniqueVariant> args(1);
        ToVariant(hv::Variant(FromBstr(strText)), args[0].put());
        HV_THROW_IF_FAILED(Events().Fire(1, args));
      }
    });
  }
  HRESULT STDMETHODCALLTYPE Echo(VARIANT vValue, VARIANT* result) override {
    return Guard("Echo", [&] {
      if (!result) throw ComError(E_POINTER);
      VariantInit(result);
      ToVariant(FromVariant(vValue), result);
    });
  }
  HRESULT STDMETHODCALLTYPE Fail(LONG lngNumber, BSTR strDescription) override {
    return Guard("Fail",
                 [&] { throw hv::Error(static_cast<int>(lngNumber), FromBstr(strDescription)); });
  }
  HRESULT STDMETHODCALLTYPE ThrowForeign(BSTR strKind) override {
    return Guard("ThrowForeign", [&] {
      const std::string kind = FromBstr(strKind);
      if (kind == "bad_alloc") throw std::bad_alloc();
      if (kind == "runtime_error") throw std::runtime_error("probe failure");
      throw 1;
    });
  }
  HRESULT STDMETHODCALLTYPE get_Sinks(LONG* result) override {
    return Guard("Sinks", [&] { ReturnValue(result, Events().size()); });
  }
};

const ClassEntry kClasses[] = {
    {CLSID_EventProbe, L"HvTest.EventProbe", L"Event probe for the Wine tests",
     &CreateInstance<ProbeObject>},
};
const ServerInfo kServer{LIBID_EventProbe, 1, 0, kClasses};

}  // namespace

HV_COM_SERVER_EXPORTS(kServer)
