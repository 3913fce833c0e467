#pragma once
// Failures of the LHA reader, numbered as the zip reader numbers its own: a damaged or
// unsupported archive is "Invalid file format" (321) with a text that says what is wrong, an
// unsafe entry name is "Bad file name or number" (52).

#include <string>

#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::lha {

[[noreturn]] inline void ThrowBadLha(const std::string& what) {
  throw Error(zip::kZipInvalidFormat, "The LHA archive is damaged or unsupported: " + what);
}

[[noreturn]] inline void ThrowUnsafeLhaName(const std::string& name) {
  throw Error(vberr::kBadFileName, "The LHA archive holds an unsafe file name: " + name);
}

}  // namespace hv::lha
