#pragma once
// Unpacking a Lynx archive into one folder, flat, as the zip reader unpacks: every name passes
// the same check, every file is written under a temporary name and renamed into place when
// complete, existing files are replaced, and one run writes at most its byte budget.

#include <cstdint>
#include <string>
#include <vector>

#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_limits.h"

namespace hv::lynx {

struct LynxOptions {
  // Bytes this run may write in all.
  std::uint64_t max_total_bytes = zip::kZipDefaultTotalBytes;
};

struct LynxExtractResult {
  bool ok = false;
  std::vector<std::string> written;  // file names in the folder, in archive order, no repeats
  FailureReason failure;             // set when !ok
};

// Never throws for a bad archive or a failed write: the result says why. Nothing is written
// when the directory is damaged, a name is unsafe or the budget is too small. `folder` must
// be an existing folder.
LynxExtractResult ExtractLynx(const std::string& archive, const std::string& folder,
                              const LynxOptions& options = {});

}  // namespace hv::lynx
