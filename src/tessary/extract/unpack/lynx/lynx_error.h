#pragma once
// The Lynx reader's damage, in the words every unpacker uses (unpack/unpack_failure.h).

#include <string>

#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::lynx {

[[noreturn]] inline void ThrowBadLynx(const std::string& what) {
  unpack::ThrowDamaged(unpack::kLynxArchive, what);
}

}  // namespace hv::lynx
