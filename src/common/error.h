#pragma once
// The one error type of the core: a Visual-Basic-style number and its description, so that
// the automation layer can raise it as the client's error object shows it, and the CLI can
// print it.

#include <stdexcept>
#include <string>

namespace hv {

// Visual Basic run-time error numbers the system reports.
namespace vberr {
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kOverflow = 6;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAlreadyOpen = 55;
inline constexpr int kInternalError = 51;
inline constexpr int kDeviceIo = 57;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kBadFileName = 52;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kDiskNotReady = 71;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidUseOfNull = 94;
inline constexpr int kInvalidFileFormat = 321;
inline constexpr int kObjectRequired = 424;
inline constexpr int kCannotCreateObject = 429;
inline constexpr int kObjectDoesntSupport = 438;
}  // namespace vberr

// The description Visual Basic gives for a run-time error number ("Application-defined or
// object-defined error" for numbers it does not know).
const char* VbErrorText(int number) noexcept;

class Error : public std::runtime_error {
 public:
  Error(int number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  // An error with Visual Basic's own description for the number.
  explicit Error(int number) : Error(number, VbErrorText(number)) {}

  int Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }

 private:
  int number_;
  std::string description_;
};

// The reason a call that reports failure as a result (Load, Extract, ...) failed.
struct FailureReason {
  int number = 0;
  std::string description;
  bool empty() const noexcept { return number == 0 && description.empty(); }
};

// The failure that the exception being handled stands for, the one place that decides it: an
// hv::Error as it is, std::bad_alloc as 7 "Out of memory", any other exception as 51
// "Internal error" (with its what() text). Call it only inside a catch block; every catch-all
// that turns an exception into a result goes through it.
FailureReason CaughtFailure() noexcept;

}  // namespace hv
