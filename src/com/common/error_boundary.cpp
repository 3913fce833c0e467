#include "com/common/error_boundary.h"

#include <cstdio>
#include <cstdlib>

#include "com/common/bstr.h"
#include "com/common/unique_resource.h"

namespace hv::com {
namespace {

bool TraceEnabled() noexcept {
  static const bool enabled = std::getenv("HV_COM_TRACE") != nullptr;
  return enabled;
}

void Log(const std::string& line) noexcept {
  OutputDebugStringA((line + "\n").c_str());
}

}  // namespace

HRESULT HResultFromVbNumber(int number) noexcept {
  if (number == vberr::kOutOfMemory) return E_OUTOFMEMORY;
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF);
}

HRESULT RaiseError(REFIID iid, const char* source, int number,
                   const std::string& description) noexcept {
  const HRESULT hr = HResultFromVbNumber(number);
  try {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return hr;
    create->SetGUID(iid);
    UniqueBstr src = ToBstr(source);
    UniqueBstr text = ToBstr(description);
    create->SetSource(src.get());
    create->SetDescription(text.get());
    ComPtr<IErrorInfo> info = create.As<IErrorInfo>();
    SetErrorInfo(0, info.get());
  } catch (...) {
    SetErrorInfo(0, nullptr);
  }
  return hr;
}

HRESULT RaiseCaught(REFIID iid, const char* source, const char* member) noexcept {
  FailureReason failure;
  try {
    throw;
  } catch (const ComError& e) {
    SetErrorInfo(0, nullptr);  // no stale error object for a bare HRESULT
    return e.hr();
  } catch (...) {
    failure = CaughtFailure();
  }
  if (failure.number == vberr::kInternalError) {
    TraceUnexpected(source, member, failure.description.c_str());
  }
  return RaiseError(iid, source, failure.number, failure.description);
}

HRESULT CaughtHResult() noexcept {
  try {
    throw;
  } catch (const ComError& e) {
    return e.hr();
  } catch (...) {
    return HResultFromVbNumber(CaughtFailure().number);
  }
}

void TraceCall(const char* source, const char* member) noexcept {
  if (!TraceEnabled()) return;
  try {
    Log(std::string(source) + "." + member);
  } catch (...) {
  }
}

void TraceUnexpected(const char* source, const char* member, const char* what) noexcept {
  try {
    Log(std::string(source) + "." + member + ": unexpected failure: " + what);
  } catch (...) {
  }
}

void ThrowFailed(HRESULT hr, const char* expr, const char* file, int line) {
  char text[64];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  Log(std::string(file) + ":" + std::to_string(line) + ": " + expr + " failed with " + text);
  throw ComError(hr);
}

}  // namespace hv::com
