// A whole extraction of a one-level zip holding a cc1541 disk image (working folder remade,
// archive copied in, unpacked, result moved) against the unzip program unpacking the same
// archive, in the same run: the ratio counter is our time over unzip's.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "halvane/functions/hvFunctions.h"
#include "tessary/extract/hvExtract.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Workspace {
  fs::path root, archive;
  Workspace() {
    std::string pattern = (fs::temp_directory_path() / "hvextractbench.XXXXXX").string();
    root = mkdtemp(pattern.data());
    fs::copy_file(HV_BENCH_CC1541_IMAGE, root / "GAME.D64");
    archive = root / "game.zip";
    if (Spawn({"zip", "-qj", archive.string(), (root / "GAME.D64").string()}) != 0) archive.clear();
    fs::create_directory(root / "unzip");
  }
  ~Workspace() { fs::remove_all(root); }
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
    if (Spawn(unzip) != 0) {
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
