#pragma once
// The boundary every automation member runs its body through. Our error type becomes an
// error object (description and source) plus an HRESULT carrying its Visual Basic number, so
// the client's Err shows both; bad_alloc becomes E_OUTOFMEMORY; anything else E_UNEXPECTED.

#include <windows.h>

#include <oaidl.h>

#include <exception>
#include <new>
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

template <class Body>
HRESULT Guard(REFIID iid, const char* source, const char* member, Body&& body) noexcept {
  TraceCall(source, member);
  try {
    body();
    return S_OK;
  } catch (const Error& e) {
    return RaiseError(iid, source, e.Number(), e.Description());
  } catch (const ComError& e) {
    SetErrorInfo(0, nullptr);  // no stale error object for a bare HRESULT
    return e.hr();
  } catch (const std::bad_alloc&) {
    RaiseError(iid, source, 7, VbErrorText(7));
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    TraceUnexpected(source, member, e.what());
    RaiseError(iid, source, 51, VbErrorText(51));
    return E_UNEXPECTED;
  } catch (...) {
    TraceUnexpected(source, member, "unknown exception");
    RaiseError(iid, source, 51, VbErrorText(51));
    return E_UNEXPECTED;
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
