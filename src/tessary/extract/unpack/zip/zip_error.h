#pragma once
// The zip reader's damage, in the words every unpacker uses (unpack/unpack_failure.h).

#include <string>

#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::zip {

[[noreturn]] inline void ThrowBadZip(const std::string& what) {
  unpack::ThrowDamaged(unpack::kZipArchive, what);
}

}  // namespace hv::zip
