#pragma once
// The general functions hvExtract needs, reached late-bound through a Halvane.hvFunctions
// object: members found by name and called through IDispatch, as any client of Halvane would.
// Halvane is a separate library that may be replaced or missing, so nothing of its type
// library is compiled in here.

#include <windows.h>

#include <oaidl.h>

#include <memory>
#include <string>

#include "com/common/unique_resource.h"
#include "halvane/functions/functions_ops.h"

namespace hv::com {

class FunctionsDispatch : public halvane::FunctionsOps {
 public:
  explicit FunctionsDispatch(ComPtr<IDispatch> functions) noexcept
      : functions_(std::move(functions)) {}

  // Creates "Halvane.hvFunctions" by its ProgID. Returns the failure of the lookup or of the
  // creation when Halvane is not registered or cannot start.
  static HRESULT Create(std::shared_ptr<FunctionsDispatch>& out) noexcept;

  void GetFileAndPath(std::string strPathAndFile, std::string& strPath,
                      std::string& strFileName) override;
  std::string Long2Short(const std::string& S) override;
  void DeletePathSilent(const std::string& strDestPath) override;
  bool FileExists(const std::string& FileName, std::int16_t DisplayMsgBox,
                  const std::string& MBCaption) override;
  bool DirExists(const std::string& strDir) override;

 private:
  // Calls `name` with `args` (left to right) and returns its result. A failure of the member
  // becomes hv::Error with the number and description the member reported.
  UniqueVariant Call(const wchar_t* name, VARIANT* args, UINT count);

  ComPtr<IDispatch> functions_;
};

}  // namespace hv::com
