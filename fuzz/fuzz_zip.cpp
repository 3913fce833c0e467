// The zip reader on hostile archives: extraction must survive anything, and it may only ever
// put the files it reports directly into its folder.

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

  const auto run = hv::fuzz::RunUnpacker([&] {
    return hv::zip::ExtractZip(paths.input, paths.out, {64 * hv::unpack::kMiB});  // small /dev/shm
  });
  if (run.ok) hv::fuzz::CheckOnlyReported(paths, run.result.written);
  if (!run.ok) hv::fuzz::CheckFailedRunLeftNoTemporaries(paths);
  return 0;
}
