#pragma once
// The boundary every automation member runs its body through. The failure the core's
// CaughtFailure makes of an exception becomes an error object (description and source) plus an
// HRESULT carrying its Visual Basic number, so the client's Err shows both: our error type as
// it is, bad_alloc as 7 (E_OUTOFMEMORY), anything else as 51 "Internal error" and a log line.

#include <windows.h>

#include <oaidl.h>

#include <exception>
#include <string>

#include "common/error.h"

namespace hv::com {

// A plain COM failure (E_POINTER, E_NOTIMPL, ...) that carries no error object.
class ComError : public std::exception {
 public:
  explicit ComError(HRESULT hr) noexcept : hr_(hr) {}
  HRESULT hr() const noexcept { return hr_; }
  const char* what() const noexcept override { return "COM error"; }

 private:
  HRESULT hr_;
};

// The HRESULT a client decodes back into the Visual Basic error number.
HRESULT HResultFromVbNumber(int number) noexcept;

// Sets the thread's error object and returns the HRESULT to hand back.
HRESULT RaiseError(REFIID iid, const char* source, int number,
                   const std::string& description) noexcept;

// One trace line per call when HV_COM_TRACE is set in the environment (OutputDebugString).
void TraceCall(const char* source, const char* member) noexcept;
void TraceUnexpected(const char* source, const char* member, const char* what) noexcept;

// The same opening for every out parameter: null gives E_POINTER, the value is cleared first.
template <class T>
T* Out(T* p) {
  if (!p) throw ComError(E_POINTER);
  *p = T{};
  return p;
}

// The catch-alls of the automation layer; call them only inside a catch block. RaiseCaught
// sets the error object for the exception being handled and returns the member's HRESULT (a
// ComError stays its bare HRESULT with no error object). CaughtHResult gives the HRESULT
// alone, for entry points that report no error object (class factories, registration,
// connection points).
HRESULT RaiseCaught(REFIID iid, const char* source, const char* member) noexcept;
HRESULT CaughtHResult() noexcept;

template <class Body>
HRESULT Guard(REFIID iid, const char* source, const char* member, Body&& body) noexcept {
  TraceCall(source, member);
  try {
    body();
    return S_OK;
  } catch (...) {
    return RaiseCaught(iid, source, member);
  }
}

// Evaluates an HRESULT expression; a failure is logged with the expression, file and line and
// leaves the member as a ComError.
#define HV_THROW_IF_FAILED(expr)                                                   \
  do {                                                                             \
    HRESULT hv_hr_ = (expr);                                                       \
    if (FAILED(hv_hr_)) ::hv::com::ThrowFailed(hv_hr_, #expr, __FILE__, __LINE__); \
  } while (0)

[[noreturn]] void ThrowFailed(HRESULT hr, const char* expr, const char* file, int line);

}  // namespace hv::com
