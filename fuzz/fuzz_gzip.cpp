// The gzip reader on hostile files: it must survive anything, write its one output file
// completely or not at all, and keep within its budget.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support.h"
#include "tessary/extract/unpack/gzip/gzip_extract.h"

namespace {

constexpr std::uint64_t kBudget = 64 * 1024 * 1024;  // keep /dev/shm small

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const hv::fuzz::UnpackPaths& paths = hv::fuzz::UnpackScratch("in.prg.gz");
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.input, data, size);

  const auto run = hv::fuzz::RunUnpacker(
      [&] { return hv::gzip::ExtractGzip(paths.input, paths.out, {kBudget}); });
  const std::vector<std::string>& written = run.result.written;
  if (run.ok) {
    HV_FUZZ_CHECK(written == std::vector<std::string>{"in.prg"}, "wrote under another name");
  }
  HV_FUZZ_CHECK((run.ok ? hv::fuzz::CheckOnlyReported(paths, written) : 0) <= kBudget,
                "wrote more than the budget");
  if (!run.ok) hv::fuzz::CheckFailedRunLeftNoTemporaries(paths);
  return 0;
}
