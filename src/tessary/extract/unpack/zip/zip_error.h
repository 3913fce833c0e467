#pragma once
// Failures of the zip reader. A damaged or unsupported archive is Visual Basic's
// "Invalid file format" with a text that says what is wrong; an unsafe entry name is
// "Bad file name or number"; file-system failures keep the platform's number.

#include <string>

#include "common/error.h"

namespace hv::zip {

inline constexpr int kZipInvalidFormat = vberr::kInvalidFileFormat;

[[noreturn]] inline void ThrowBadZip(const std::string& what) {
  throw Error(kZipInvalidFormat, "The zip archive is damaged or unsupported: " + what);
}

[[noreturn]] inline void ThrowUnsafeName(const std::string& name) {
  throw Error(vberr::kBadFileName, "The zip archive holds an unsafe file name: " + name);
}

}  // namespace hv::zip
