#include "platform/os_error.h"

#include <cerrno>
#include <cstring>

#include "common/error.h"

namespace hv::platform {

void ThrowOsError(unsigned long code, FileRole role) {
  const int err = static_cast<int>(code);
  switch (err) {
    case ENOENT:
      throw Error(role == FileRole::kExisting ? vberr::kFileNotFound : vberr::kPathNotFound);
    case ENOTDIR:
      throw Error(vberr::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      throw Error(vberr::kPathFileAccess);
    case ETXTBSY:
    case EBUSY:
      throw Error(vberr::kPermissionDenied);
    case EEXIST:
      throw Error(vberr::kFileAlreadyExists);
    case ENOSPC:
    case EDQUOT:
      throw Error(vberr::kDiskFull);
    case ENAMETOOLONG:
      throw Error(vberr::kBadFileName);
    default:
      throw Error(vberr::kDeviceIo, std::strerror(err));
  }
}

void ThrowStartError(unsigned long code) {
  switch (static_cast<int>(code)) {
    case ENOENT:
      throw Error(vberr::kFileNotFound);
    case EACCES:
    case EPERM:
    case EISDIR:
    case ETXTBSY:
      throw Error(vberr::kPermissionDenied);
    case ENOEXEC:
    case ELIBBAD:
    case ELIBACC:
      throw Error(vberr::kInvalidFileFormat);
    case ENOMEM:
    case E2BIG:
      throw Error(vberr::kOutOfMemory);
    default:
      ThrowOsError(code);
  }
}

}  // namespace hv::platform
