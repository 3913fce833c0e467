// FindFiles over a generated tree of 100,000 files, next to `find DIR -iname PATTERN` on the
// same tree in the same run.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "halvane/functions/hvFunctions.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 40;
constexpr int kSubfolders = 25;
constexpr int kFilesPerFolder = 100;  // 40 * 25 * 100 = 100,000 files
const char* const kPattern = "*.SID";

class Tree {
 public:
  Tree() {
    for (int a = 0; a < kFolders; ++a) {
      for (int b = 0; b < kSubfolders; ++b) {
        const fs::path dir = root_ / ("C" + std::to_string(a)) / ("G" + std::to_string(b));
        fs::create_directories(dir);
        for (int i = 0; i < kFilesPerFolder; ++i) {
          // One file in four is a tune, in mixed case.
          const char* ext = i % 4 == 0 ? (i % 8 == 0 ? ".sid" : ".SID") : ".D64";
          std::ofstream(dir / ("F" + std::to_string(i) + ext)) << i;
        }
      }
    }
  }
  const fs::path& root() const { return root_; }

 private:
  hv::bench::ScratchDir scratch_{"hvbench"};
  fs::path root_ = scratch_.path();
};

const Tree& SharedTree() {
  static const Tree tree;
  return tree;
}

void BM_FindFiles(benchmark::State& state) {
  const Tree& tree = SharedTree();
  hv::halvane::hvFunctions f;
  std::int64_t hits = 0;
  f.SetFoundFileHandler([&hits](const std::string&) { ++hits; });
  for (auto _ : state) {
    std::string path = tree.root().string();
    std::string pattern = kPattern;
    benchmark::DoNotOptimize(f.FindFiles(path, pattern));
  }
  state.counters["hits"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}

// `find DIR -iname PATTERN`, or with -printf "%s" when it must read each match's size too.
void RunFind(benchmark::State& state, bool with_sizes) {
  const Tree& tree = SharedTree();
  const std::string root = tree.root().string();
  for (auto _ : state) {
    std::vector<std::string> args = {"find", root, "-iname", kPattern};
    if (with_sizes) args.insert(args.end(), {"-printf", "%s\n"});
    if (hv::bench::Spawn(args) < 0) {
      state.SkipWithError("find cannot start");
      break;
    }
  }
}

void BM_FindIname(benchmark::State& state) {
  RunFind(state, false);
}
void BM_FindInameWithSizes(benchmark::State& state) {
  RunFind(state, true);
}

BENCHMARK(BM_FindFiles)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindIname)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindInameWithSizes)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
