// The gzip reader on hostile files: it must survive anything, write its one output file
// completely or not at all, and keep within its budget.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "support.h"
#include "tessary/extract/gzip/gzip_extract.h"

namespace {

struct Paths {
  std::string archive, out;
};

const Paths& ScratchPaths() {
  static const Paths paths = [] {
    Paths p{hv::fuzz::ScratchDir() + "/in.prg.gz", hv::fuzz::ScratchDir() + "/out"};
    hv::fuzz::WriteAll(p.archive, "");
    std::filesystem::create_directories(p.out);
    return p;
  }();
  return paths;
}

constexpr std::uint64_t kBudget = 64 * 1024 * 1024;  // keep /dev/shm small

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Paths& paths = ScratchPaths();
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.archive, data, size);

  hv::gzip::GzipOptions options;
  options.max_total_bytes = kBudget;
  const auto result = hv::gzip::ExtractGzip(paths.archive, paths.out, options);
  HV_FUZZ_CHECK(result.ok || result.failure.number != 0, "a failed run names no reason");
  HV_FUZZ_CHECK(result.failure.number != 51, "internal error: " + result.failure.description);
  HV_FUZZ_CHECK(result.ok || result.warning.empty(), "a failed run carries a warning");
  if (result.ok) {
    HV_FUZZ_CHECK(result.written == "in.prg", "wrote under another name: " + result.written);
    HV_FUZZ_CHECK(hv::fuzz::ReadAll(paths.out + "/in.prg").size() <= kBudget,
                  "wrote more than the budget");
  }
  for (const std::string& rel : hv::fuzz::ListTree(hv::fuzz::ScratchDir())) {
    if (rel == "in.prg.gz" || rel == "out/") continue;
    HV_FUZZ_CHECK(result.ok && rel == "out/in.prg", "unexpected path after extraction: " + rel);
  }
  return 0;
}
