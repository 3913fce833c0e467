#include "com/tessary/extract_object.h"

#include "com/common/bstr.h"
#include "com/common/returns.h"

namespace hv::com {

HRESULT ExtractObject::Create(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  std::shared_ptr<FunctionsDispatch> functions;
  HRESULT hr = FunctionsDispatch::Create(functions);
  if (FAILED(hr)) {
    RaiseError(__uuidof(IhvExtract), kSource, vberr::kCannotCreateObject,
               "ActiveX component can't create object: Halvane.hvFunctions is not available.");
    return hr;
  }
  try {
    return MakeObject<ExtractObject>(std::move(functions))->QueryInterface(riid, ppv);
  } catch (...) {
    return RaiseCaught(__uuidof(IhvExtract), kSource, "Create");
  }
}

ExtractObject::ExtractObject(std::shared_ptr<FunctionsDispatch> functions)
    : extract_(std::move(functions)) {}

HRESULT STDMETHODCALLTYPE ExtractObject::Extract(BSTR AppPath, BSTR FileToExtract,
                                                 BSTR DatabaseFile, BSTR CurrGameDIR,
                                                 BSTR* ReturnFilename, BSTR* ReturnFailInfo,
                                                 BSTR FromProgram, BSTR WinzipPath, LONG GameID,
                                                 VARIANT_BOOL* result) {
  return Guard("Extract", [&] {
    Out(result);
    if (!ReturnFilename || !ReturnFailInfo) throw ComError(E_POINTER);
    std::string file_name = FromBstr(*ReturnFilename);
    std::string fail_info = FromBstr(*ReturnFailInfo);
    const bool found =
        extract_.Extract(FromBstr(AppPath), FromBstr(FileToExtract), FromBstr(DatabaseFile),
                         FromBstr(CurrGameDIR), file_name, fail_info, FromBstr(FromProgram),
                         FromBstr(WinzipPath), static_cast<std::int32_t>(GameID));
    ReplaceBstr(ReturnFilename, file_name);
    ReplaceBstr(ReturnFailInfo, fail_info);
    ReturnBool(result, found);
  });
}

}  // namespace hv::com
