#pragma once
// hvExtract on the automation interface. Creating one creates Halvane's hvFunctions and
// keeps it for the object's life; without Halvane the creation itself fails.

#include <memory>

#include "Tessary.h"
#include "com/common/com_object.h"
#include "com/tessary/functions_dispatch.h"
#include "tessary/extract/hvExtract.h"

namespace hv::com {

class ExtractObject : public DispatchObject<ExtractObject, IhvExtract> {
 public:
  static constexpr const char* kSource = "Tessary.hvExtract";

  // The class factory's creation: the failure of creating Halvane.hvFunctions is handed back
  // as the creation's failure.
  static HRESULT Create(REFIID riid, void** ppv) noexcept;

  explicit ExtractObject(std::shared_ptr<FunctionsDispatch> functions);

  HRESULT STDMETHODCALLTYPE Extract(BSTR AppPath, BSTR FileToExtract, BSTR DatabaseFile,
                                    BSTR CurrGameDIR, BSTR* ReturnFilename, BSTR* ReturnFailInfo,
                                    BSTR FromProgram, BSTR WinzipPath, LONG GameID,
                                    VARIANT_BOOL* result) override;

 private:
  tessary::hvExtract extract_;
};

}  // namespace hv::com
