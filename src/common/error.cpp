#include "common/error.h"

namespace hv {

const char* VbErrorText(int number) noexcept {
  switch (number) {
    case vberr::kInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case vberr::kOverflow:
      return "Overflow";
    case vberr::kOutOfMemory:
      return "Out of memory";
    case vberr::kSubscriptOutOfRange:
      return "Subscript out of range";
    case vberr::kTypeMismatch:
      return "Type mismatch";
    case vberr::kInternalError:
      return "Internal error";
    case vberr::kBadFileName:
      return "Bad file name or number";
    case vberr::kFileNotFound:
      return "File not found";
    case vberr::kFileAlreadyOpen:
      return "File already open";
    case vberr::kDeviceIo:
      return "Device I/O error";
    case vberr::kFileAlreadyExists:
      return "File already exists";
    case vberr::kDiskFull:
      return "Disk full";
    case vberr::kInputPastEnd:
      return "Input past end of file";
    case vberr::kDeviceUnavailable:
      return "Device unavailable";
    case vberr::kPermissionDenied:
      return "Permission denied";
    case vberr::kDiskNotReady:
      return "Disk not ready";
    case vberr::kPathFileAccess:
      return "Path/File access error";
    case vberr::kPathNotFound:
      return "Path not found";
    case vberr::kInvalidUseOfNull:
      return "Invalid use of Null";
    case vberr::kInvalidFileFormat:
      return "Invalid file format";
    case vberr::kObjectRequired:
      return "Object required";
    case vberr::kCannotCreateObject:
      return "ActiveX component can't create object";
    case vberr::kObjectDoesntSupport:
      return "Object doesn't support this property or method";
    default:
      return "Application-defined or object-defined error";
  }
}

FailureReason CaughtFailure() noexcept {
  try {
    throw;
  } catch (const Error& e) {
    return {e.Number(), e.Description()};
  } catch (const std::bad_alloc&) {
    return {vberr::kOutOfMemory, VbErrorText(vberr::kOutOfMemory)};
  } catch (const std::exception& e) {
    const char* what = e.what();
    if (!what || !*what) return {vberr::kInternalError, VbErrorText(vberr::kInternalError)};
    return {vberr::kInternalError, std::string(VbErrorText(vberr::kInternalError)) + ": " + what};
  } catch (...) {
    return {vberr::kInternalError, VbErrorText(vberr::kInternalError)};
  }
}

}  // namespace hv
