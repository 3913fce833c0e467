#pragma once
// Core paths are Windows-1252 text; Linux file names are UTF-8.

#include <string>

#include "common/text.h"

namespace hv::platform {

inline std::string NativePath(const std::string& path) {
  return Cp1252ToUtf8(path);
}
inline std::string CorePath(const std::string& native) {
  return Utf8ToCp1252(native);
}

}  // namespace hv::platform
