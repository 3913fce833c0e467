#pragma once
// Failures of the zip reader. A damaged or unsupported archive is Visual Basic's
// "Invalid file format" with a text that says what is wrong; an unsafe entry name is
// "Bad file name or number"; file-system failures keep the platform's number. An encrypted
// entry and an archive over the size budget are "Invalid file format" too, but carry their
// own ZipProblem so the front-end text can name the real cause.

#include <string>

#include "common/error.h"

namespace hv::zip {

inline constexpr int kZipInvalidFormat = vberr::kInvalidFileFormat;

enum class ZipProblem { kDamaged, kEncrypted, kTooLarge, kUnsafeName, kOther };

class ZipFailure : public Error {
 public:
  ZipFailure(ZipProblem problem, const std::string& what)
      : Error(kZipInvalidFormat, "The zip archive is damaged or unsupported: " + what),
        problem_(problem) {}
  ZipProblem problem() const noexcept { return problem_; }

 private:
  ZipProblem problem_;
};

[[noreturn]] inline void ThrowBadZip(const std::string& what) {
  throw ZipFailure(ZipProblem::kDamaged, what);
}

[[noreturn]] inline void ThrowEncrypted(const std::string& name) {
  throw ZipFailure(ZipProblem::kEncrypted, "encrypted entry (no password is supplied): " + name);
}

[[noreturn]] inline void ThrowTooLarge(const std::string& what) {
  throw ZipFailure(ZipProblem::kTooLarge, what);
}

[[noreturn]] inline void ThrowUnsafeName(const std::string& name) {
  throw Error(vberr::kBadFileName, "The zip archive holds an unsafe file name: " + name);
}

}  // namespace hv::zip
