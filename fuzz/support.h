#pragma once
// What every fuzz target shares: one scratch folder per process (in /dev/shm when there is
// one, so that file-based parsers stay fast), whole-file I/O, and a check that stops the
// run with a message libFuzzer keeps next to the crashing input.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace hv::fuzz

#define HV_FUZZ_CHECK(cond, what)                              \
  do {                                                         \
    if (!(cond)) ::hv::fuzz::Fail(__FILE__, __LINE__, (what)); \
  } while (0)
