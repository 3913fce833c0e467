#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::unpack {

void ThrowDamaged(std::string_view archive, const std::string& what) {
  throw Error(kInvalidFormat,
              "The " + std::string(archive) + " is damaged or unsupported: " + what);
}

void ThrowTooLarge(std::string_view archive, const std::string& what) {
  throw TooLarge(kInvalidFormat,
                 "The " + std::string(archive) + " is damaged or unsupported: " + what);
}

void ThrowUnsafeName(std::string_view archive, const std::string& name) {
  throw Error(vberr::kBadFileName,
              "The " + std::string(archive) + " holds an unsafe file name: " + name);
}

}  // namespace hv::unpack
