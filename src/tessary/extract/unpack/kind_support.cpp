#include "tessary/extract/unpack/kind_support.h"

#include "platform/file_ops.h"
#include "platform/path_separator.h"

namespace hv::tessary {

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + platform::kPathSeparator + name;
}

std::string FileNamePart(halvane::FunctionsOps& functions, const std::string& path) {
  std::string part;
  functions.GetFileAndPath(path, part, part);
  return part;
}

void ChargeBudget(std::uint64_t& budget, const std::string& folder,
                  const std::vector<std::string>& written) {
  for (const std::string& name : written) {
    const std::uint64_t size = platform::FileLength(JoinPath(folder, name));
    budget = size < budget ? budget - size : 0;
  }
}

void RaiseFailure(const FailureReason& why) {
  throw Error(why.number ? why.number : vberr::kInternalError, why.description);
}

}  // namespace hv::tessary
