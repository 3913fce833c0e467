#include "com/common/connection_points.h"

#include <string>

namespace hv::com {

HRESULT EventSinks::Advise(IUnknown* sink, DWORD* cookie) noexcept {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  // The event dispinterface itself, or any IDispatch (script and VB sinks answer only that).
  ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(iid_, dispatch.put_void())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, dispatch.put_void()))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  try {
    std::size_t slot = 0;
    while (slot < slots_.size() && slots_[slot]) ++slot;
    if (slot == slots_.size()) slots_.emplace_back();
    slots_[slot] = std::move(dispatch);
    *cookie = static_cast<DWORD>(slot + 1);
    return S_OK;
  } catch (...) {
    return CaughtHResult();
  }
}

HRESULT EventSinks::Unadvise(DWORD cookie) noexcept {
  if (cookie == 0 || cookie > slots_.size() || !slots_[cookie - 1]) return CONNECT_E_NOCONNECTION;
  slots_[cookie - 1].reset();
  return S_OK;
}

std::size_t EventSinks::size() const noexcept {
  std::size_t n = 0;
  for (const auto& slot : slots_) n += slot ? 1 : 0;
  return n;
}

HRESULT EventSinks::Fire(DISPID id, std::vector<UniqueVariant>& args) {
  const std::vector<ComPtr<IDispatch>> sinks = slots_;  // a handler may change slots_
  std::vector<VARIANT> reversed;
  reversed.reserve(args.size());
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->addr());
  HRESULT first_failure = S_OK;
  for (const auto& sink : sinks) {
    if (!sink) continue;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                              nullptr, nullptr);
    if (FAILED(hr) && SUCCEEDED(first_failure)) first_failure = hr;
  }
  return first_failure;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = sinks_.iid();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE
ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  container_.CopyTo(out);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  return sinks_.Advise(sink, cookie);
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Unadvise(DWORD cookie) {
  return sinks_.Unadvise(cookie);
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  LogNotImplemented("IConnectionPoint::EnumConnections");
  return E_NOTIMPL;
}

void LogNotImplemented(const char* what) noexcept {
  try {
    OutputDebugStringA((std::string(what) + ": not implemented\n").c_str());
  } catch (...) {
  }
}

}  // namespace hv::com
