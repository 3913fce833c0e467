#pragma once
// The zip reader's failures, in the words every unpacker uses (unpack/unpack_failure.h). An
// encrypted entry is "Invalid file format" too, but carries its own ZipProblem so the front-end
// text can name the real cause; an archive too large is unpack::TooLarge.

#include <exception>
#include <string>

#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::zip {

enum class ZipProblem { kDamaged, kEncrypted, kTooLarge, kUnsafeName, kOther };

class ZipFailure : public Error {
 public:
  ZipFailure(ZipProblem problem, const std::string& what)
      : Error(unpack::kInvalidFormat, "The zip archive is damaged or unsupported: " + what),
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

// What went wrong in a failure of ExtractZip, as far as the reader can tell.
ZipProblem ProblemOf(const std::exception_ptr& failure);

}  // namespace hv::zip
