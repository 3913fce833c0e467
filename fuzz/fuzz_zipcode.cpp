// The zipcode joiner on hostile sets. The input frames the parts: one byte says which of
// 1!set ... 5!set exist (bits 0 to 4), then each existing part follows as a 16-bit
// little-endian length and its bytes. The join must survive anything and leave either the
// whole image or nothing at all.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "support.h"
#include "tessary/extract/unpack/zipcode/zipcode_geometry.h"
#include "tessary/extract/unpack/zipcode/zipcode_join.h"

namespace {

struct Paths {
  std::string in, out;
};

const Paths& ScratchPaths() {
  static const Paths paths = [] {
    Paths p{hv::fuzz::ScratchDir() + "/in", hv::fuzz::ScratchDir() + "/out"};
    std::filesystem::create_directories(p.in);
    std::filesystem::create_directories(p.out);
    return p;
  }();
  return paths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Paths& paths = ScratchPaths();
  hv::fuzz::EmptyDir(paths.in);
  hv::fuzz::EmptyDir(paths.out);
  if (size == 0) return 0;

  const unsigned present = data[0];
  std::size_t at = 1;
  for (int part = 1; part <= 5; ++part) {
    if (!(present & (1u << (part - 1)))) continue;
    std::size_t length = 0;
    if (size - at >= 2) {
      length = data[at] | (std::size_t{data[at + 1]} << 8);
      at += 2;
    } else {
      at = size;
    }
    length = std::min(length, size - at);
    const std::string name = std::to_string(part) + "!set";
    hv::fuzz::WriteAll(paths.in + "/" + name, data + at, length);
    at += length;
  }

  const auto run = hv::fuzz::RunUnpacker(
      [&] { return hv::zipcode::ZipcodeJoin(paths.in, "set", paths.out, "set.d64"); });

  const auto out = hv::fuzz::ListTree(paths.out);
  if (run.ok) {
    HV_FUZZ_CHECK(out.size() == 1 && out[0] == "set.d64", "the image is not alone in the folder");
    const std::uint64_t size35 = hv::zipcode::ImageBytes(hv::zipcode::kTracks35);
    const std::uint64_t size40 = hv::zipcode::ImageBytes(hv::zipcode::kTracks40);
    const std::uint64_t got = hv::fuzz::ReadAll(paths.out + "/set.d64").size();
    HV_FUZZ_CHECK((got == size35 || got == size40) && got == run.result.bytes,
                  "the image has the wrong size");
  } else {
    HV_FUZZ_CHECK(out.empty(), "a failed join left a file: " + (out.empty() ? "" : out[0]));
  }
  return 0;
}
