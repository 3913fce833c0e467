#pragma once
// What the benchmarks share: running an outside program as the yardstick, timing our work
// against it, and a scratch folder that goes away with the benchmark.

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace hv::bench {

// Runs a program found on PATH with its output discarded; its exit code, or -1.
inline int Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Each iteration runs `ours` (which answers "" or what failed) and then the program `peer`;
// our time is the iteration's, and the counters give the peer's mean time and the ratio of
// our total to the peer's. The benchmark needs UseManualTime().
template <typename Ours>
void TimeAgainst(benchmark::State& state, Ours ours, const std::vector<std::string>& peer) {
  using Clock = std::chrono::steady_clock;
  double ours_total = 0, peer_total = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const std::string failure = ours();
    const auto t1 = Clock::now();
    if (!failure.empty()) {
      state.SkipWithError(failure.c_str());
      return;
    }
    if (Spawn(peer) != 0) {
      state.SkipWithError((peer[0] + " failed or is not installed").c_str());
      return;
    }
    const auto t2 = Clock::now();
    const double ours_s = std::chrono::duration<double>(t1 - t0).count();
    ours_total += ours_s;
    peer_total += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(ours_s);
  }
  state.counters[peer[0] + "_us"] =
      benchmark::Counter(peer_total * 1e6 / static_cast<double>(state.iterations()));
  state.counters["ratio"] = benchmark::Counter(ours_total / peer_total);
}

class ScratchDir {
 public:
  explicit ScratchDir(const char* name) {
    std::string pattern = (std::filesystem::temp_directory_path() / name).string() + ".XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace hv::bench
