// The Lynx reader on hostile archives: extraction must survive anything, and may only ever
// put the files it reports directly into its folder.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support.h"
#include "tessary/extract/unpack/lynx/lynx_extract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const hv::fuzz::UnpackPaths& paths = hv::fuzz::UnpackScratch("in.lnx");
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.input, data, size);

  hv::lynx::LynxOptions options;
  options.max_total_bytes = 64 * 1024 * 1024;  // keep /dev/shm small
  const auto result = hv::lynx::ExtractLynx(paths.input, paths.out, options);
  HV_FUZZ_CHECK(result.ok || result.failure.number != 0, "a failed run names no reason");
  HV_FUZZ_CHECK(result.failure.number != hv::vberr::kInternalError,
                "internal error: " + result.failure.description);

  for (const std::string& name : result.written) {
    HV_FUZZ_CHECK(name.front() != '.', "a written name is hidden: " + name);
  }
  // A Lynx archive stores its files unpacked: they never outgrow it.
  HV_FUZZ_CHECK(hv::fuzz::CheckOnlyReported(paths, result.written) <= size,
                "wrote more bytes than the archive holds");
  return 0;
}
