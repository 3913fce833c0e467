#pragma once
// Events as a Visual Basic client receives them: the connection point it finds and the sink it
// hands over.

#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/check.h"
#include "support/dispatch_client.h"

namespace hv::wine {

// An event sink as a Visual Basic client gives one: IUnknown and IDispatch only. It records
// every call with its dispatch id and the text of a method's single argument, then runs
// `on_call` (when set) as the event's handler.
class RecordingSink : public IDispatch {
 public:
  std::vector<std::pair<DISPID, std::wstring>> calls;
  std::function<void()> on_call;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch) return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT*, EXCEPINFO*, UINT*) override {
    std::wstring text;
    if (flags == DISPATCH_METHOD && params && params->cArgs == 1 &&
        V_VT(&params->rgvarg[0]) == VT_BSTR)
      text.assign(V_BSTR(&params->rgvarg[0]), SysStringLen(V_BSTR(&params->rgvarg[0])));
    calls.emplace_back(id, text);
    if (on_call) on_call();
    return S_OK;
  }
  ULONG refs = 1;
};

// The object's default event connection point, found as a VB client finds it: the source
// interface from IProvideClassInfo2, then the point from IConnectionPointContainer.
inline ComPtr<IConnectionPoint> DefaultEventPoint(const Dispatch& object) {
  ComPtr<IProvideClassInfo2> info;
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  GUID events = GUID_NULL;
  if (!HV_CHECK_EQ(object.get()->QueryInterface(IID_IProvideClassInfo2, info.put_void()), S_OK))
    return point;
  HV_CHECK_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  HV_CHECK_EQ(object.get()->QueryInterface(IID_IConnectionPointContainer, container.put_void()),
              S_OK);
  if (container) HV_CHECK_EQ(container->FindConnectionPoint(events, point.put()), S_OK);
  return point;
}

}  // namespace hv::wine
