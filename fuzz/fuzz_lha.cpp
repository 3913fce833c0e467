// The LHA reader and lhasa's decoders under it on hostile archives: extraction must survive
// anything, keep within its budget, and may only ever put the files it reports directly into
// its folder.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support.h"
#include "tessary/extract/unpack/lha/lha_extract.h"

namespace {

constexpr std::uint64_t kBudget = 64 * 1024 * 1024;  // keep /dev/shm small

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const hv::fuzz::UnpackPaths& paths = hv::fuzz::UnpackScratch("in.lzh");
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.input, data, size);

  hv::lha::LhaOptions options;
  options.max_total_bytes = kBudget;
  const auto result = hv::lha::ExtractLha(paths.input, paths.out, options);
  HV_FUZZ_CHECK(result.ok || result.failure.number != 0, "a failed run names no reason");
  HV_FUZZ_CHECK(result.failure.number != hv::vberr::kInternalError,
                "internal error: " + result.failure.description);

  HV_FUZZ_CHECK(hv::fuzz::CheckOnlyReported(paths, result.written) <= kBudget,
                "wrote more than the budget");
  return 0;
}
