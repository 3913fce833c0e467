#pragma once
// The POSIX resources of the platform layer as owners: file descriptors (-1 is none),
// directory streams, and memory the C library hands out for the caller to free.

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>

#include "common/unique_any.h"

namespace hv::platform {

inline void FreeMalloced(void* memory) noexcept {
  std::free(memory);
}

using UniqueFd = UniqueAny<int, &::close, -1>;
using UniqueDir = UniqueAny<DIR*, &::closedir>;
// Text such as realpath(path, nullptr) returns.
using UniqueMallocText = UniqueAny<char*, &FreeMalloced>;

}  // namespace hv::platform
