#include "common/error.h"

namespace hv {

const char* VbErrorText(int number) noexcept {
  switch (number) {
    case vberr::kInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case vberr::kOverflow:
      return "Overflow";
    case vberr::kSubscriptOutOfRange:
      return "Subscript out of range";
    case vberr::kTypeMismatch:
      return "Type mismatch";
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
    case vberr::kPermissionDenied:
      return "Permission denied";
    case vberr::kPathFileAccess:
      return "Path/File access error";
    case vberr::kPathNotFound:
      return "Path not found";
    case vberr::kObjectRequired:
      return "Object required";
    case vberr::kCannotCreateObject:
      return "ActiveX component can't create object";
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
    return {vberr::kInternalError, std::string("Internal error: ") + e.what()};
  } catch (...) {
    return {vberr::kInternalError, VbErrorText(vberr::kInternalError)};
  }
}

}  // namespace hv
