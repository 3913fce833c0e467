// A whole extraction of a one-level zip holding a cc1541 disk image (working folder remade,
// archive copied in, unpacked, result moved) against the unzip program unpacking the same
// archive, in the same run: the ratio counter is our time over unzip's.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "halvane/functions/hvFunctions.h"
#include "tessary/extract/hvExtract.h"

namespace {

namespace fs = std::filesystem;

struct Workspace {
  hv::bench::ScratchDir scratch{"hvextractbench"};
  fs::path root = scratch.path();
  fs::path archive;
  Workspace() {
    fs::copy_file(HV_BENCH_CC1541_IMAGE, root / "GAME.D64");
    archive = root / "game.zip";
    if (hv::bench::Spawn({"zip", "-qj", archive.string(), (root / "GAME.D64").string()}) != 0)
      archive.clear();
    fs::create_directory(root / "unzip");
  }
};

void BM_ExtractAgainstUnzip(benchmark::State& state) {
  Workspace ws;
  if (ws.archive.empty() || fs::file_size(ws.root / "GAME.D64") != 174848) {
    state.SkipWithError("zip is not installed or the image is not a 35-track disk");
    return;
  }
  hv::tessary::hvExtract extract(std::make_shared<hv::halvane::hvFunctions>());
  const std::string work = (ws.root / "work").string();
  const std::vector<std::string> unzip = {"unzip", "-qoj", ws.archive.string(), "-d",
                                          (ws.root / "unzip").string()};
  hv::bench::TimeAgainst(
      state,
      [&]() -> std::string {
        std::string file, fail;
        if (extract.Extract("", ws.archive.string(), "", work, file, fail, "", "")) return "";
        return fail.empty() ? "Extract failed" : fail;
      },
      unzip);
}
BENCHMARK(BM_ExtractAgainstUnzip)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
