#include "platform/os_error.h"

#include <windows.h>

#include "common/error.h"

namespace hv::platform {

void ThrowOsError(unsigned long code, FileRole role) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      throw Error(role == FileRole::kExisting ? vberr::kFileNotFound : vberr::kPathNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      throw Error(vberr::kPathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      throw Error(vberr::kPathFileAccess);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      throw Error(vberr::kPermissionDenied);
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      throw Error(vberr::kFileAlreadyExists);
    case ERROR_NOT_READY:
      throw Error(vberr::kDiskNotReady);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      throw Error(vberr::kDiskFull);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
      throw Error(vberr::kBadFileName);
    default:
      throw Error(vberr::kDeviceIo);
  }
}

void ThrowStartError(unsigned long code) {
  constexpr unsigned long kElevationRequired = 740;  // not in every SDK's headers
  switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case kElevationRequired:
      throw Error(vberr::kPermissionDenied);
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_BAD_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_EXE_MARKED_INVALID:
      throw Error(vberr::kInvalidFileFormat);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      throw Error(vberr::kOutOfMemory);
    default:
      ThrowOsError(code);  // 53 for a missing file, 76 for a missing folder
  }
}

}  // namespace hv::platform
