#pragma once
// Unpacking an LHA archive into one folder, flat, as `lha e` and the zip reader unpack: every
// file lands directly in the folder under its last name (its folders are dropped), folder
// entries and symbolic links are skipped, every name passes the zip reader's check, each file
// is written under a temporary name and renamed into place only after its CRC checked, and
// existing files are replaced. Every method lhasa decodes is read: lh0-lh7, lhx, lk7, lz4,
// lz5, lzs, pm0-pm2.

#include <cstdint>
#include <string>
#include <vector>

#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_limits.h"

namespace hv::lha {

struct LhaOptions {
  // Bytes this run may write in all.
  std::uint64_t max_total_bytes = zip::kZipDefaultTotalBytes;
};

struct LhaExtractResult {
  bool ok = false;
  std::vector<std::string> written;  // file names in the folder, in archive order, no repeats
  FailureReason failure;             // set when !ok
};

// Never throws for a bad archive or a failed write: the result says why. Nothing is written
// when a header is damaged, a method unknown, a name unsafe or the budget too small; a file
// whose data is damaged fails the run and is not left behind (files before it stay). `folder`
// must be an existing folder.
LhaExtractResult ExtractLha(const std::string& archive, const std::string& folder,
                            const LhaOptions& options = {});

}  // namespace hv::lha
