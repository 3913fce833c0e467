#pragma once
// Unpacking an LHA archive into one folder, flat, as `lha e` unpacks (unpack/flat_folder.h):
// every file lands directly in the folder under its last name, folder entries and symbolic
// links are skipped, each file is written under a temporary name and renamed into place only
// after its CRC checked. Every method lhasa decodes is read: lh0-lh7, lhx, lk7, lz4, lz5, lzs,
// pm0-pm2.

#include <string>

#include "tessary/extract/unpack/unpack_result.h"

namespace hv::lha {

// Throws hv::Error for a bad archive or a failed write. Nothing is written when a header is
// damaged, a method unknown, a name unsafe or the budget too small; a file whose data is
// damaged fails the run and is not left behind (files before it stay). `folder` must be an
// existing folder.
unpack::UnpackResult ExtractLha(const std::string& archive, const std::string& folder,
                                const unpack::UnpackOptions& options = {});

}  // namespace hv::lha
