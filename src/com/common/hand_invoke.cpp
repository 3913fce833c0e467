#include "com/common/hand_invoke.h"

#include "com/common/error_boundary.h"
#include "com/common/unique_resource.h"
#include "common/error.h"

namespace hv::com {

const VARIANT* CallArgument(const DISPPARAMS* params, UINT index) {
  if (!params) return nullptr;
  for (UINT i = 0; i < params->cNamedArgs; ++i) {
    if (params->rgdispidNamedArgs && params->rgdispidNamedArgs[i] == static_cast<DISPID>(index))
      return &params->rgvarg[i];
  }
  const UINT positional = params->cArgs - params->cNamedArgs;
  if (index >= positional) return nullptr;
  const VARIANT* arg = &params->rgvarg[params->cArgs - 1 - index];
  // An omitted optional argument.
  if (V_VT(arg) == VT_ERROR && V_ERROR(arg) == DISP_E_PARAMNOTFOUND) return nullptr;
  return arg;
}

HRESULT InvokeResult(HRESULT hr, EXCEPINFO* excep) noexcept {
  if (SUCCEEDED(hr)) return hr;
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || !info) return hr;
  if (excep) {
    *excep = EXCEPINFO{};
    info->GetSource(&excep->bstrSource);
    info->GetDescription(&excep->bstrDescription);
    info->GetHelpFile(&excep->bstrHelpFile);
    info->GetHelpContext(&excep->dwHelpContext);
    excep->scode = hr;
  }
  return DISP_E_EXCEPTION;
}

SAFEARRAY* RecordArrayArgument(const VARIANT& arg) {
  const VARIANT* v = &arg;
  for (int depth = 0; V_VT(v) == (VT_BYREF | VT_VARIANT); ++depth) {
    if (depth > 4 || !V_VARIANTREF(v)) throw Error(vberr::kTypeMismatch);
    v = V_VARIANTREF(v);
  }
  if (V_VT(v) == (VT_BYREF | VT_ARRAY | VT_RECORD)) {
    if (!V_ARRAYREF(v)) throw Error(vberr::kTypeMismatch);
    return *V_ARRAYREF(v);
  }
  if (V_VT(v) == (VT_ARRAY | VT_RECORD)) return V_ARRAY(v);
  throw Error(vberr::kTypeMismatch);
}

LONG ForEachRecord(SAFEARRAY* array, REFGUID record, ULONG element_size,
                   const std::function<void(const void*)>& each) {
  if (!array || SafeArrayGetDim(array) != 1 || (array->fFeatures & FADF_RECORD) == 0 ||
      SafeArrayGetElemsize(array) != element_size) {
    throw Error(vberr::kTypeMismatch);
  }
  ComPtr<IRecordInfo> info;
  GUID id = GUID_NULL;
  if (FAILED(SafeArrayGetRecordInfo(array, info.put())) || !info || FAILED(info->GetGuid(&id)) ||
      id != record) {
    throw Error(vberr::kTypeMismatch);
  }
  LONG lower = 0;
  LONG upper = -1;
  HV_THROW_IF_FAILED(SafeArrayGetLBound(array, 1, &lower));
  HV_THROW_IF_FAILED(SafeArrayGetUBound(array, 1, &upper));
  SafeArrayData<const unsigned char> data(array);
  HV_THROW_IF_FAILED(data.status());
  const LONGLONG count = static_cast<LONGLONG>(upper) - lower + 1;
  for (LONGLONG i = 0; i < count; ++i) each(data.data() + i * element_size);
  return lower;
}

}  // namespace hv::com
