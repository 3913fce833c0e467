#pragma once
// Failures of the Lynx reader, numbered as the zip reader numbers its own: a damaged archive
// is "Invalid file format" (321) with a text that says what is wrong, an unsafe entry name is
// "Bad file name or number" (52).

#include <string>

#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::lynx {

[[noreturn]] inline void ThrowBadLynx(const std::string& what) {
  throw Error(zip::kZipInvalidFormat, "The Lynx archive is damaged or unsupported: " + what);
}

[[noreturn]] inline void ThrowUnsafeLynxName(const std::string& name) {
  throw Error(vberr::kBadFileName, "The Lynx archive holds an unsafe file name: " + name);
}

}  // namespace hv::lynx
