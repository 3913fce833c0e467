// The zip reader on hostile archives: listing and extraction must survive anything, and an
// extraction may only ever put the files it reports directly into its folder.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/error.h"
#include "support.h"
#include "tessary/extract/unpack/zip/zip_extract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const hv::fuzz::UnpackPaths& paths = hv::fuzz::UnpackScratch("in.zip");
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.input, data, size);

  try {
    volatile std::size_t sink = 0;
    for (const auto& entry : hv::zip::ListZip(paths.input)) sink = sink + entry.name.size();
  } catch (const hv::Error&) {
  }

  hv::zip::ZipOptions options;
  options.max_total_bytes = 64 * hv::zip::kMiB;  // keep /dev/shm small
  const hv::zip::ZipExtractResult result = hv::zip::ExtractZip(paths.input, paths.out, options);
  HV_FUZZ_CHECK(result.ok || result.failure.number != 0, "a failed run names no reason");
  HV_FUZZ_CHECK(result.failure.number != hv::vberr::kInternalError,
                "internal error: " + result.failure.description);

  hv::fuzz::CheckOnlyReported(paths, result.written);
  return 0;
}
