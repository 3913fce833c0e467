#pragma once
// Unpacking a gzip file into one folder as gunzip does: every member of the file, one after
// the other, becomes one output file named after the archive without its gzip suffix. Bytes
// after the last member that do not start another member are ignored with a warning, as
// gunzip ignores "trailing garbage" and still writes its output. The output is written under a
// temporary name and renamed into place only after every member's CRC and length checked, within
// the zip reader's byte budget and ratio cap, and only after its name passed the zip reader's
// check.

#include <cstdint>
#include <string>

#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_limits.h"

namespace hv::gzip {

struct GzipOptions {
  // Bytes this run may write in all.
  std::uint64_t max_total_bytes = zip::kZipDefaultTotalBytes;
};

struct GzipExtractResult {
  bool ok = false;
  std::string written;  // the file name in the folder, when ok
  // What gunzip would warn about: "trailing garbage ignored" or "trailing zero bytes ignored"
  // when bytes that start no member follow the last one, else "".
  std::string warning;
  FailureReason failure;  // set when !ok
};

// Never throws for a bad file or a failed write: the result says why, and no output file is
// left behind. `folder` must be an existing folder; the archive itself is left in place.
GzipExtractResult ExtractGzip(const std::string& archive, const std::string& folder,
                              const GzipOptions& options = {});

}  // namespace hv::gzip
