// The zip reader on hostile archives: listing and extraction must survive anything, and an
// extraction may only ever put the files it reports directly into its folder.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/text.h"
#include "support.h"
#include "tessary/extract/zip/zip_extract.h"

namespace {

struct Paths {
  std::string archive, out;
};

const Paths& ScratchPaths() {
  static const Paths paths = [] {
    Paths p{hv::fuzz::ScratchDir() + "/in.zip", hv::fuzz::ScratchDir() + "/out"};
    hv::fuzz::WriteAll(p.archive, "");
    std::filesystem::create_directories(p.out);
    return p;
  }();
  return paths;
}

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Paths& paths = ScratchPaths();
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.archive, data, size);

  try {
    volatile std::size_t sink = 0;
    for (const auto& entry : hv::zip::ListZip(paths.archive)) sink = sink + entry.name.size();
  } catch (const hv::Error&) {
  }

  hv::zip::ZipOptions options;
  options.max_total_bytes = 64 * hv::zip::kMiB;  // keep /dev/shm small
  const hv::zip::ZipExtractResult result = hv::zip::ExtractZip(paths.archive, paths.out, options);
  HV_FUZZ_CHECK(result.ok || result.failure.number != 0, "a failed run names no reason");
  HV_FUZZ_CHECK(result.failure.number != 51, "internal error: " + result.failure.description);

  // Core names are Windows-1252; the files carry them in UTF-8.
  std::vector<std::string> on_disk;
  for (const std::string& name : result.written) {
    HV_FUZZ_CHECK(IsPlainName(name), "reported a written name that is no plain name: " + name);
    on_disk.push_back(hv::Cp1252ToUtf8(name));
  }
  // Nothing else anywhere in the scratch folder: no stray temporaries, no sub-folders, no
  // file that escaped the output folder.
  for (const std::string& rel : hv::fuzz::ListTree(hv::fuzz::ScratchDir())) {
    if (rel == "in.zip" || rel == "out/") continue;
    const bool reported = rel.rfind("out/", 0) == 0 &&
                          std::find(on_disk.begin(), on_disk.end(), rel.substr(4)) != on_disk.end();
    HV_FUZZ_CHECK(reported, "unexpected path after extraction: " + rel);
  }
  return 0;
}
