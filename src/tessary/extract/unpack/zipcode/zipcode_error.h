#pragma once
// Failures of the disk-set joiner, numbered as the zip reader numbers its own: a damaged part
// is "Invalid file format" (321) with a text that says what is wrong; a missing part keeps
// "File not found" (53) and names the part.

#include <string>

#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::zipcode {

[[noreturn]] inline void ThrowBadSet(const std::string& what) {
  throw Error(zip::kZipInvalidFormat, "The zipcode disk set is damaged or unsupported: " + what);
}

}  // namespace hv::zipcode
