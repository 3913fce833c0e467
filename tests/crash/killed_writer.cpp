#include "killed_writer.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <thread>
#include <vector>

namespace hv::test {

KilledWriter::KilledWriter(std::function<void()> write_forever)
    : write_forever_(std::move(write_forever)), seed_(std::random_device{}()), random_(seed_) {}

bool KilledWriter::Round(std::chrono::microseconds max_delay) {
  std::uniform_int_distribution<std::int64_t> pick(0, max_delay.count());
  const std::chrono::microseconds delay(pick(random_));
  return RunWhile([delay] { std::this_thread::sleep_for(delay); });
}

bool KilledWriter::RunWhile(const std::function<void()>& meanwhile) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    try {
      write_forever_();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "writer failed: %s\n", e.what());
    }
    ::_exit(3);  // no exit handlers: they belong to the parent
  }
  meanwhile();
  ::kill(child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

std::chrono::microseconds MedianDuration(const std::function<void()>& action, int times) {
  std::vector<std::chrono::microseconds> runs;
  for (int i = 0; i < times; ++i) {
    const auto start = std::chrono::steady_clock::now();
    action();
    runs.push_back(std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start));
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

}  // namespace hv::test
