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

  hv::gzip::GzipOptions options;
  options.max_total_bytes = kBudget;
  const auto result = hv::gzip::ExtractGzip(paths.input, paths.out, options);
  HV_FUZZ_CHECK(result.ok || result.failure.number != 0, "a failed run names no reason");
  HV_FUZZ_CHECK(result.failure.number != hv::vberr::kInternalError,
                "internal error: " + result.failure.description);
  HV_FUZZ_CHECK(result.ok || result.warning.empty(), "a failed run carries a warning");
  if (result.ok) {
    HV_FUZZ_CHECK(result.written == "in.prg", "wrote under another name: " + result.written);
  }
  const std::vector<std::string> written =
      result.ok ? std::vector<std::string>{result.written} : std::vector<std::string>{};
  HV_FUZZ_CHECK(hv::fuzz::CheckOnlyReported(paths, written) <= kBudget,
                "wrote more than the budget");
  return 0;
}
