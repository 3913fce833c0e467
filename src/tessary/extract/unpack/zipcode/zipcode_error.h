#pragma once
// The zipcode reader's damage, in the words every unpacker uses (unpack/unpack_failure.h).

#include <string>

#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::zipcode {

[[noreturn]] inline void ThrowBadSet(const std::string& what) {
  unpack::ThrowDamaged(unpack::kDiskSet, what);
}

}  // namespace hv::zipcode
