#pragma once
// What every fuzz target shares: one scratch folder per process (in /dev/shm when there is
// one, so that file-based parsers stay fast), whole-file I/O, and a check that stops the
// run with a message libFuzzer keeps next to the crashing input.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "tessary/extract/unpack/unpack_result.h"

namespace hv::fuzz {

// The scratch folder of this process, made on first use and removed at exit.
const std::string& ScratchDir();

// Replaces `path` with exactly these bytes.
void WriteAll(const std::string& path, const std::uint8_t* data, std::size_t size);
void WriteAll(const std::string& path, std::string_view bytes);
std::string ReadAll(const std::string& path);

// Removes everything inside `dir`, keeping `dir` itself.
void EmptyDir(const std::string& dir);

// Every path below `dir`, relative to it, folders included (as "name/").
std::vector<std::string> ListTree(const std::string& dir);

[[noreturn]] void Fail(const char* file, int line, const std::string& what);

// The input file and the output folder of an unpacker target, in the scratch folder. Made on
// the first call; every later call of the process gets the same two paths.
struct UnpackPaths {
  std::string input_name;  // relative to the scratch folder
  std::string input, out;
};
const UnpackPaths& UnpackScratch(const std::string& input_name);

// After one unpack: every reported name (Windows-1252) is a plain file name, and nothing exists
// in the scratch folder but the input, the output folder and the reported files directly in
// it. Returns the bytes the reported files hold.
std::uint64_t CheckOnlyReported(const UnpackPaths& paths, const std::vector<std::string>& written);

// After a failed run, which reports nothing: the files before the failure may stay, complete and
// directly in the output folder, but no temporary and nothing elsewhere.
void CheckFailedRunLeftNoTemporaries(const UnpackPaths& paths);

}  // namespace hv::fuzz

#define HV_FUZZ_CHECK(cond, what)                              \
  do {                                                         \
    if (!(cond)) ::hv::fuzz::Fail(__FILE__, __LINE__, (what)); \
  } while (0)

namespace hv::fuzz {

// An unpacker's run: its result, or the failure it threw, which must name a reason and never be
// an internal error.
struct UnpackRun {
  bool ok = false;
  unpack::UnpackResult result;
  FailureReason failure;
};

template <class Run>
UnpackRun RunUnpacker(Run&& run) {
  UnpackRun outcome;
  try {
    outcome.result = run();
    outcome.ok = true;
  } catch (...) {
    outcome.failure = CaughtFailure();
  }
  HV_FUZZ_CHECK(outcome.ok || outcome.failure.number != 0, "a failed run names no reason");
  HV_FUZZ_CHECK(outcome.failure.number != vberr::kInternalError,
                "internal error: " + outcome.failure.description);
  return outcome;
}

}  // namespace hv::fuzz
