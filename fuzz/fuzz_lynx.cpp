// The Lynx reader on hostile archives: extraction must survive anything, and may only ever
// put the files it reports directly into its folder.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/text.h"
#include "support.h"
#include "tessary/extract/lynx/lynx_extract.h"

namespace {

struct Paths {
  std::string archive, out;
};

const Paths& ScratchPaths() {
  static const Paths paths = [] {
    Paths p{hv::fuzz::ScratchDir() + "/in.lnx", hv::fuzz::ScratchDir() + "/out"};
    hv::fuzz::WriteAll(p.archive, "");
    std::filesystem::create_directories(p.out);
    return p;
  }();
  return paths;
}

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.front() != '.' &&
         name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Paths& paths = ScratchPaths();
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.archive, data, size);

  hv::lynx::LynxOptions options;
  options.max_total_bytes = 64 * 1024 * 1024;  // keep /dev/shm small
  const auto result = hv::lynx::ExtractLynx(paths.archive, paths.out, options);
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
  // A Lynx archive stores its files unpacked: they never outgrow it.
  HV_FUZZ_CHECK(written <= size, "wrote more bytes than the archive holds");
  for (const std::string& rel : hv::fuzz::ListTree(hv::fuzz::ScratchDir())) {
    if (rel == "in.lnx" || rel == "out/") continue;
    const bool reported = rel.rfind("out/", 0) == 0 &&
                          std::find(on_disk.begin(), on_disk.end(), rel.substr(4)) != on_disk.end();
    HV_FUZZ_CHECK(reported, "unexpected path after extraction: " + rel);
  }
  return 0;
}
