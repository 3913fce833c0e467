#pragma once
// The LHA reader's damage, in the words every unpacker uses (unpack/unpack_failure.h).

#include <string>

#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::lha {

[[noreturn]] inline void ThrowBadLha(const std::string& what) {
  unpack::ThrowDamaged(unpack::kLhaArchive, what);
}

}  // namespace hv::lha
