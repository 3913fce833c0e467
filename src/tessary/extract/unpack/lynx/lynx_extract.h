#pragma once
// Unpacking a Lynx archive into one folder, flat (unpack/flat_folder.h): every file is written
// under a temporary name and renamed into place when complete, and one run writes at most its
// byte budget.

#include <string>

#include "tessary/extract/unpack/unpack_result.h"

namespace hv::lynx {

// Throws hv::Error for a bad archive or a failed write. Nothing is written when the directory
// is damaged, a name is unsafe or the budget is too small. `folder` must be an existing folder.
unpack::UnpackResult ExtractLynx(const std::string& archive, const std::string& folder,
                                 const unpack::UnpackOptions& options = {});

}  // namespace hv::lynx
