// A whole extraction of a one-level zip holding a cc1541 disk image (working folder remade,
// archive copied in, unpacked, result moved) against the unzip program unpacking the same
// archive, in the same run: the ratio counter is our time over unzip's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "halvane/functions/hvFunctions.h"
#include "tessary/extract/hvExtract.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

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
  double ours_total = 0, unzip_total = 0;
  for (auto _ : state) {
    std::string file, fail;
    const auto t0 = Clock::now();
    const bool ok = extract.Extract("", ws.archive.string(), "", work, file, fail, "", "");
    const auto t1 = Clock::now();
    if (!ok) {
      state.SkipWithError(fail.c_str());
      return;
    }
    if (hv::bench::Spawn(unzip) != 0) {
      state.SkipWithError("unzip failed or is not installed");
      return;
    }
    const auto t2 = Clock::now();
    const double ours_s = std::chrono::duration<double>(t1 - t0).count();
    ours_total += ours_s;
    unzip_total += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(ours_s);
  }
  state.counters["unzip_us"] =
      benchmark::Counter(unzip_total * 1e6 / static_cast<double>(state.iterations()));
  state.counters["ratio"] = benchmark::Counter(ours_total / unzip_total);
}
BENCHMARK(BM_ExtractAgainstUnzip)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
