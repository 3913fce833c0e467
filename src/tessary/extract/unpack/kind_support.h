#pragma once
// What several archive kinds do alike: paths, the short names the outside tools get, and the
// byte budget the built-in unpackers share.

#include <cstdint>
#include <string>
#include <vector>

#include "common/error.h"
#include "halvane/functions/functions_ops.h"

namespace hv::tessary {

// `folder`, the separator, `name`.
std::string JoinPath(const std::string& folder, const std::string& name);

// The file-name part of `path` as GetFileAndPath gives it when handed one variable for both
// outputs: the file name is written last and stays.
std::string FileNamePart(halvane::FunctionsOps& functions, const std::string& path);

// Takes the sizes of `written` (file names in `folder`) off `budget`, down to 0.
void ChargeBudget(std::uint64_t& budget, const std::string& folder,
                  const std::vector<std::string>& written);

// A built-in unpacker's failure, raised for the driver's failure report.
[[noreturn]] void RaiseFailure(const FailureReason& why);

// The first failure of several archives that each unpack on their own (disk sets, Lynx): a
// failed one is left out as a failed outside tool leaves nothing, and only when none
// unpacked does the level fail, with the first reason.
class FirstFailure {
 public:
  void Succeeded() noexcept { any_ = true; }
  void Failed(const FailureReason& why) {
    if (first_.empty()) first_ = why;
  }
  // Raises the first failure when nothing unpacked.
  void RaiseIfNothingUnpacked() const {
    if (!any_ && !first_.empty()) RaiseFailure(first_);
  }

 private:
  bool any_ = false;
  FailureReason first_;
};

}  // namespace hv::tessary
