#pragma once
// Runs a writer in a child process and kills it (SIGKILL) after a random delay, round after
// round, so that each kill lands at a different point of a write.

#include <chrono>
#include <cstdint>
#include <functional>
#include <random>

namespace hv::test {

class KilledWriter {
 public:
  // `write_forever` runs in the child until it is killed; it must not return.
  explicit KilledWriter(std::function<void()> write_forever);

  // Starts the child, waits a delay drawn from [0, max_delay], kills it and reaps it. False
  // when the child ended on its own before the kill (it failed).
  bool Round(std::chrono::microseconds max_delay);

  // Starts the child, runs `meanwhile` here, then kills and reaps the child. False when the
  // child ended on its own (it failed).
  bool RunWhile(const std::function<void()>& meanwhile);

  std::uint32_t seed() const noexcept { return seed_; }

 private:
  std::function<void()> write_forever_;
  std::uint32_t seed_;
  std::mt19937 random_;
};

// How long `action` takes, as the median of `times` runs.
std::chrono::microseconds MedianDuration(const std::function<void()>& action, int times);

}  // namespace hv::test
