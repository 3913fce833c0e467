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

  const auto run =
      hv::fuzz::RunUnpacker([&] { return hv::lha::ExtractLha(paths.input, paths.out, {kBudget}); });
  HV_FUZZ_CHECK((run.ok ? hv::fuzz::CheckOnlyReported(paths, run.result.written) : 0) <= kBudget,
                "wrote more than the budget");
  if (!run.ok) hv::fuzz::CheckFailedRunLeftNoTemporaries(paths);
  return 0;
}
