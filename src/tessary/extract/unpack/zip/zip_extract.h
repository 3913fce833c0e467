#pragma once
// Unpacking a zip archive into one folder, flat (unpack/flat_folder.h); no password is ever
// given. Each file is written under a temporary name and renamed into place only after its CRC
// checked, so a failed run leaves no truncated file behind.

#include <string>

#include "tessary/extract/unpack/unpack_result.h"

namespace hv::zip {

// Throws hv::Error for a bad archive or a failed write (unpack/unpack_failure.h). `dest_dir`
// must be an existing folder.
unpack::UnpackResult ExtractZip(const std::string& zip_path, const std::string& dest_dir,
                                const unpack::UnpackOptions& options = {});

}  // namespace hv::zip
