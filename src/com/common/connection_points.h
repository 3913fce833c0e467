#pragma once
// Outgoing events for an automation class: one dispinterface per source class, sinks that
// answer only IDispatch accepted, cookie = slot + 1, and firing over a copy of the sink list so
// a handler that unadvises (or advises) cannot break the loop.
//
//   class FooObject : public EventSource<FooObject, DispatchObject<FooObject, IFoo,
//                                        IConnectionPointContainer, IProvideClassInfo2>> {
//    public:
//     static const IID& EventIid() { return DIID_FooEvents; }
//     static const CLSID& ClassId() { return CLSID_Foo; }
//     ...  Events().Fire(1, args);
//   };

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "com/common/com_object.h"

namespace hv::com {

// The advised sinks of one event interface.
class EventSinks {
 public:
  explicit EventSinks(const IID& iid) noexcept : iid_(iid) {}

  const IID& iid() const noexcept { return iid_; }
  HRESULT Advise(IUnknown* sink, DWORD* cookie) noexcept;
  HRESULT Unadvise(DWORD cookie) noexcept;
  std::size_t size() const noexcept;

  // Calls member `id` of every sink with DISPATCH_METHOD, synchronously, in advise order.
  // `args` are left to right as the event declares them. Returns the first failure a sink
  // reported (after calling the rest), else S_OK.
  HRESULT Fire(DISPID id, std::vector<UniqueVariant>& args);

 private:
  const IID& iid_;
  std::vector<ComPtr<IDispatch>> slots_;  // a null slot is free
};

// What FindConnectionPoint hands out: it keeps its container (and so the sinks) alive.
class ConnectionPoint : public ComObject<ConnectionPoint, IConnectionPoint> {
 public:
  ConnectionPoint(ComPtr<IConnectionPointContainer> container, EventSinks& sinks) noexcept
      : container_(std::move(container)), sinks_(sinks) {}

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

 private:
  ComPtr<IConnectionPointContainer> container_;
  EventSinks& sinks_;
};

void LogNotImplemented(const char* what) noexcept;

// IConnectionPointContainer and IProvideClassInfo2 for a class with one event interface.
// `Base` must list both among its interfaces (see the example above).
template <class Derived, class Base>
class EventSource : public Base {
 public:
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override {
    if (out) *out = nullptr;
    LogNotImplemented("IConnectionPointContainer::EnumConnectionPoints");
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != events_.iid()) return CONNECT_E_NOCONNECTION;
    try {
      *out =
          MakeObject<ConnectionPoint>(ComPtr<IConnectionPointContainer>(this), events_).release();
      return S_OK;
    } catch (...) {
      return CaughtHResult();
    }
  }
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override {
    return ModuleTypeInfo(Derived::ClassId(), out);
  }
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override {
    if (!guid) return E_POINTER;
    *guid = GUID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = events_.iid();
    return S_OK;
  }

 protected:
  EventSource() : events_(Derived::EventIid()) {}
  EventSinks& Events() noexcept { return events_; }

 private:
  EventSinks events_;
};

}  // namespace hv::com
