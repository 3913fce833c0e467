// Unpacking a one-file game archive in-process against the unzip program on the same
// archive, in the same run: the ratio counter is our time over unzip's.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_extract.h"

namespace {

namespace fs = std::filesystem;

struct Workspace {
  hv::bench::ScratchDir scratch{"hvbench"};
  fs::path root = scratch.path();
  fs::path archive;
  Workspace() {
    // A disk image's worth of bytes: packed data with runs of empty sectors.
    std::vector<char> image(174848);
    std::uint32_t x = 12345;
    for (std::size_t i = 0; i < image.size(); ++i) {
      x ^= x << 13, x ^= x >> 17, x ^= x << 5;
      image[i] = (i / 256) % 5 == 0 ? 0 : static_cast<char>(x);
    }
    std::ofstream(root / "GAME.D64", std::ios::binary).write(image.data(), std::ssize(image));
    archive = root / "game.zip";
    if (hv::bench::Spawn({"zip", "-qj", archive.string(), (root / "GAME.D64").string()}) != 0)
      archive.clear();
    fs::create_directory(root / "ours");
    fs::create_directory(root / "unzip");
  }
};

void BM_ExtractZipAgainstUnzip(benchmark::State& state) {
  Workspace ws;
  if (ws.archive.empty()) {
    state.SkipWithError("zip is not installed");
    return;
  }
  const std::string ours = (ws.root / "ours").string();
  const std::vector<std::string> unzip = {"unzip", "-qoj", ws.archive.string(), "-d",
                                          (ws.root / "unzip").string()};
  hv::bench::TimeAgainst(
      state,
      [&]() -> std::string {
        try {
          hv::zip::ExtractZip(ws.archive.string(), ours);
          return "";
        } catch (...) {
          return hv::CaughtFailure().description;
        }
      },
      unzip);
}
BENCHMARK(BM_ExtractZipAgainstUnzip)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
