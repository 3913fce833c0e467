// FindFiles over a generated tree of 100,000 files, next to `find DIR -iname PATTERN` on the
// same tree in the same run.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "halvane/functions/hvFunctions.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 40;
constexpr int kSubfolders = 25;
constexpr int kFilesPerFolder = 100;  // 40 * 25 * 100 = 100,000 files
const char* const kPattern = "*.SID";

class Tree {
 public:
  Tree() {
    std::string pattern = (fs::temp_directory_path() / "hvbench.XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
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
  ~Tree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const fs::path& root() const { return root_; }

 private:
  fs::path root_;
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {
        "find", root.c_str(), "-iname", kPattern, with_sizes ? "-printf" : nullptr,
        "%s\n", nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "find", &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
      state.SkipWithError("find cannot start");
      break;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
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
