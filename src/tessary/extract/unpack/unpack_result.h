#pragma once
// What every unpacker takes and gives back. A failure is thrown (unpack_failure.h), never
// returned: an unpacker that returns has written every file it reports.

#include <cstdint>
#include <string>
#include <vector>

#include "tessary/extract/unpack/unpack_limits.h"

namespace hv::unpack {

struct UnpackOptions {
  // Bytes this run may write in all.
  std::uint64_t max_total_bytes = kDefaultBudget;
};

struct UnpackResult {
  std::vector<std::string> written;  // file names in the folder, in archive order, each once
  std::uint64_t bytes = 0;           // what the files written hold together
  // What the unpacker would warn about and went on (gzip's trailing garbage), else "".
  std::string warning;
};

}  // namespace hv::unpack
