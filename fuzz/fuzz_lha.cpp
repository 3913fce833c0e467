// The LHA reader and lhasa's decoders under it on hostile archives: extraction must survive
// anything, keep within its budget, and may only ever put the files it reports directly into
// its folder.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/text.h"
#include "support.h"
#include "tessary/extract/lha/lha_extract.h"

namespace {

struct Paths {
  std::string archive, out;
};

const Paths& ScratchPaths() {
  static const Paths paths = [] {
    Paths p{hv::fuzz::ScratchDir() + "/in.lzh", hv::fuzz::ScratchDir() + "/out"};
    hv::fuzz::WriteAll(p.archive, "");
    std::filesystem::create_directories(p.out);
    return p;
  }();
  return paths;
}

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos && name.find('\0') == std::string::npos;
}

constexpr std::uint64_t kBudget = 64 * 1024 * 1024;  // keep /dev/shm small

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Paths& paths = ScratchPaths();
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.archive, data, size);

  hv::lha::LhaOptions options;
  options.max_total_bytes = kBudget;
  const auto result = hv::lha::ExtractLha(paths.archive, paths.out, options);
  HV_FUZZ_CHECK(result.ok || result.failure.number != 0, "a failed run names no reason");
  HV_FUZZ_CHECK(result.failure.number != 51, "internal error: " + result.failure.description);

  // Core names are Windows-1252; the files carry them in UTF-8.
  std::vector<std::string> on_disk;
  std::uint64_t written = 0;
  for (const std::string& name : result.written) {
    HV_FUZZ_CHECK(IsPlainName(name), "reported a written name that is no plain name: " + name);
    on_disk.push_back(hv::Cp1252ToUtf8(name));
    written += hv::fuzz::ReadAll(paths.out + "/" + on_disk.back()).size();
  }
  HV_FUZZ_CHECK(written <= kBudget, "wrote more than the budget");
  for (const std::string& rel : hv::fuzz::ListTree(hv::fuzz::ScratchDir())) {
    if (rel == "in.lzh" || rel == "out/") continue;
    const bool reported = rel.rfind("out/", 0) == 0 &&
                          std::find(on_disk.begin(), on_disk.end(), rel.substr(4)) != on_disk.end();
    HV_FUZZ_CHECK(reported, "unexpected path after extraction: " + rel);
  }
  return 0;
}
