#include "com/tessary/functions_dispatch.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "com/common/bstr.h"
#include "com/common/error_boundary.h"
#include "common/error.h"

namespace hv::com {
namespace {

// A variant argument owning its string.
UniqueVariant Text(const std::string& text) {
  UniqueVariant v;
  V_VT(v.addr()) = VT_BSTR;
  V_BSTR(v.addr()) = ToBstr(text).release();
  return v;
}

UniqueVariant Bool(bool value) {
  UniqueVariant v;
  V_VT(v.addr()) = VT_BOOL;
  V_BOOL(v.addr()) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

// The Visual Basic number a client would see for a failed call.
int VbNumberOf(HRESULT hr) {
  return HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<int>(hr);
}

std::string Narrow(const wchar_t* name) {
  std::string out;
  for (; *name; ++name) out += static_cast<char>(*name);
  return out;
}

bool IsTrue(const UniqueVariant& v) {
  UniqueVariant b;
  if (FAILED(VariantChangeType(b.addr(), const_cast<VARIANT*>(&v.get()), 0, VT_BOOL))) {
    throw Error(vberr::kTypeMismatch);
  }
  return V_BOOL(&b.get()) != VARIANT_FALSE;
}

std::string AsText(const UniqueVariant& v) {
  UniqueVariant s;
  if (FAILED(VariantChangeType(s.addr(), const_cast<VARIANT*>(&v.get()), 0, VT_BSTR))) {
    throw Error(vberr::kTypeMismatch);
  }
  return FromBstr(V_BSTR(&s.get()));
}

}  // namespace

HRESULT FunctionsDispatch::Create(std::shared_ptr<FunctionsDispatch>& out) noexcept {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Halvane.hvFunctions", &clsid);
  if (FAILED(hr)) return hr;
  ComPtr<IDispatch> object;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void());
  if (FAILED(hr)) return hr;
  try {
    out = std::make_shared<FunctionsDispatch>(std::move(object));
  } catch (...) {
    return CaughtHResult();
  }
  return S_OK;
}

UniqueVariant FunctionsDispatch::Call(const wchar_t* name, VARIANT* args, UINT count) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = functions_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) {
    throw Error(vberr::kObjectDoesntSupport, std::string(VbErrorText(vberr::kObjectDoesntSupport)) +
                                                 ": Halvane.hvFunctions." + Narrow(name));
  }
  // Invoke takes the arguments right to left.
  std::vector<VARIANT> reversed(args, args + count);
  std::reverse(reversed.begin(), reversed.end());
  DISPPARAMS params{reversed.data(), nullptr, count, 0};
  UniqueVariant result;
  EXCEPINFO excep{};
  UINT arg_error = 0;
  hr = functions_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                          result.addr(), &excep, &arg_error);
  if (hr == DISP_E_EXCEPTION) {
    if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
    // The texts Invoke filled in are ours to free.
    const UniqueBstr source(excep.bstrSource), text(excep.bstrDescription),
        help_file(excep.bstrHelpFile);
    const HRESULT code = excep.scode ? excep.scode : static_cast<HRESULT>(excep.wCode);
    std::string description = FromBstr(text.get());
    const int number = VbNumberOf(code);
    throw Error(number, description.empty() ? VbErrorText(number) : description);
  }
  if (FAILED(hr)) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
    throw Error(VbNumberOf(hr), "Halvane.hvFunctions." + Narrow(name) + " failed (" + buf + ").");
  }
  return result;
}

void FunctionsDispatch::GetFileAndPath(std::string strPathAndFile, std::string& strPath,
                                       std::string& strFileName) {
  // The outputs travel as typed strings by reference, as the member declares them.
  UniqueBstr path = ToBstr(strPath);
  UniqueBstr file = ToBstr(strFileName);
  UniqueVariant input = Text(strPathAndFile);
  VARIANT args[3];
  args[0] = input.get();
  // Whatever the callee leaves in the two strings is freed with them, also when it failed.
  V_VT(&args[1]) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&args[1]) = path.addressof();
  V_VT(&args[2]) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&args[2]) = file.addressof();
  Call(L"GetFileAndPath", args, 3);
  // When the caller passes one variable for both, the file name is written last and stays.
  const std::string new_path = FromBstr(path.get());
  const std::string new_file = FromBstr(file.get());
  strPath = new_path;
  strFileName = new_file;
}

std::string FunctionsDispatch::Long2Short(const std::string& S) {
  UniqueVariant arg = Text(S);
  return AsText(Call(L"Long2Short", arg.addr(), 1));
}

void FunctionsDispatch::DeletePathSilent(const std::string& strDestPath) {
  UniqueVariant arg = Text(strDestPath);
  Call(L"DeletePathSilent", arg.addr(), 1);
}

bool FunctionsDispatch::FileExists(const std::string& FileName, std::int16_t DisplayMsgBox,
                                   const std::string& MBCaption) {
  UniqueVariant name = Text(FileName);
  UniqueVariant show = Bool(DisplayMsgBox == halvane::kVbTrue);
  UniqueVariant caption = Text(MBCaption);
  VARIANT args[3] = {name.get(), show.get(), caption.get()};
  return IsTrue(Call(L"FileExists", args, 3));
}

bool FunctionsDispatch::DirExists(const std::string& strDir) {
  UniqueVariant arg = Text(strDir);
  return IsTrue(Call(L"DirExists", arg.addr(), 1));
}

}  // namespace hv::com
