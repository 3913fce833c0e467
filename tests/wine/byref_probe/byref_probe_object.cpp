// The ByRefProbe test server: members that report and change their by-reference arguments.

#include <cstdio>
#include <string>

#include "ByRefProbe.h"
#include "com/common/bstr.h"
#include "com/common/com_object.h"
#include "com/common/returns.h"
#include "com/common/server.h"

namespace {

using namespace hv::com;

template <class T>
T& Ref(T* p) {
  if (!p) throw ComError(E_POINTER);
  return *p;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

class ProbeObject : public DispatchObject<ProbeObject, IByRefProbe> {
 public:
  static constexpr const char* kSource = "HvTest.ByRefProbe";

  HRESULT STDMETHODCALLTYPE Bump(BSTR* strText, short* intValue, LONG* lngValue,
                                 VARIANT_BOOL* blnFlag, ProbeColourEnum* eColour, double* dblValue,
                                 BSTR* result) override {
    return Guard("Bump", [&] {
      const std::string text = FromBstr(Ref(strText));
      ReturnText(result, text + "|" + std::to_string(Ref(intValue)) + "|" +
                             std::to_string(Ref(lngValue)) + "|" + std::to_string(Ref(blnFlag)) +
                             "|" + std::to_string(static_cast<int>(Ref(eColour))) + "|" +
                             Number(Ref(dblValue)));
      ReplaceBstr(strText, text + "+");
      *intValue = static_cast<short>(*intValue + 1);
      *lngValue = *lngValue + 1;
      *blnFlag = *blnFlag ? VARIANT_FALSE : VARIANT_TRUE;
      *eColour = static_cast<ProbeColourEnum>(*eColour + 1);
      *dblValue = *dblValue * 2;
    });
  }
  HRESULT STDMETHODCALLTYPE WriteThenFail(BSTR* strText, LONG lngNumber) override {
    return Guard("WriteThenFail", [&] {
      ReplaceBstr(&Ref(strText), "written");
      throw hv::Error(static_cast<int>(lngNumber));
    });
  }
  HRESULT STDMETHODCALLTYPE Peek(BSTR* strText, short* intValue, BSTR* result) override {
    return Guard("Peek", [&] {
      ReturnText(result, FromBstr(Ref(strText)) + "|" + std::to_string(Ref(intValue)));
    });
  }
  HRESULT STDMETHODCALLTYPE get_Doubled(LONG* lngValue, LONG* result) override {
    return Guard("Doubled", [&] {
      ReturnValue(result, Ref(lngValue));
      *lngValue *= 2;
    });
  }
};

const ClassEntry kClasses[] = {
    {CLSID_ByRefProbe, L"HvTest.ByRefProbe", L"By-reference probe for the Wine tests",
     &CreateInstance<ProbeObject>},
};
const ServerInfo kServer{LIBID_ByRefProbe, 1, 0, kClasses};

}  // namespace

HV_COM_SERVER_EXPORTS(kServer)
