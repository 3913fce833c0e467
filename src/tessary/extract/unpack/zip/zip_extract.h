#pragma once
// Unpacking a zip archive into one folder, flat: every entry lands directly in the folder
// under its last name component, existing files are replaced, no password is ever given.
// Each file is written under a temporary name and renamed into place only after its CRC
// checked, so a failed run leaves no truncated file behind.

#include <cstdint>
#include <string>
#include <vector>

#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_limits.h"
#include "tessary/extract/unpack/zip/zip_prompter.h"

namespace hv::zip {

struct ZipOptions {
  // Replace existing files without asking (the system's setting).
  bool overwrite = true;
  // With overwrite off: ask `prompter` before replacing; without a prompter, keep the file.
  ZipPrompter* prompter = nullptr;
  // Report each written file through prompter->Print.
  bool quiet = true;
  // Bytes this run may write in all.
  std::uint64_t max_total_bytes = kZipDefaultTotalBytes;
};

struct ZipExtractResult {
  bool ok = false;
  std::vector<std::string> written;  // file names in the folder, in archive order, no repeats
  FailureReason failure;             // set when !ok
};

// Never throws for a bad archive or a failed write: the result says why. `dest_dir` must be
// an existing folder.
ZipExtractResult ExtractZip(const std::string& zip_path, const std::string& dest_dir,
                            const ZipOptions& options = {});

// The archive's file entries (folder entries left out), names with their folders as stored.
// Each is also handed to `listing`->List when given. Throws hv::Error for a damaged archive.
std::vector<ListedEntry> ListZip(const std::string& zip_path, ZipPrompter* listing = nullptr);

}  // namespace hv::zip
