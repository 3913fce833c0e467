#include "tessary/extract/unpack/kind_support.h"

#include <exception>

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

void Charge(std::uint64_t& budget, const unpack::UnpackResult& result) {
  budget = result.bytes < budget ? budget - result.bytes : 0;
}

void UnpackEach(const std::vector<std::string>& names,
                const std::function<void(const std::string& name)>& unpack_one) {
  bool any = false;
  std::exception_ptr first;
  for (const std::string& name : names) {
    try {
      unpack_one(name);
      any = true;
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (!any && first) std::rethrow_exception(first);
}

}  // namespace hv::tessary
