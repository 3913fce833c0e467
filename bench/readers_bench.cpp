// How fast hvD64::Load lists a directory, next to the least work that reading the same bytes
// takes (open, one read of track 18, close): loads per second, warm cache.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tessary/readers/hvD64.h"

namespace {

constexpr std::size_t kImageSize = 174848;
constexpr std::size_t kTrack18 = 0x16500;

// A 35-track image whose directory fills all 18 sectors of track 18 with 144 files.
std::string FullDirectoryImage() {
  static const std::string path = [] {
    std::vector<std::uint8_t> image(kImageSize, 0);
    const char name[] = "DISK NAME";
    for (std::size_t i = 0; i < 16; ++i) image[kTrack18 + 0x90 + i] = i < 9 ? name[i] : 0xA0;
    for (int s = 1; s <= 18; ++s) {
      const std::size_t at = kTrack18 + 256 * static_cast<std::size_t>(s);
      image[at] = s < 18 ? 18 : 0;
      image[at + 1] = static_cast<std::uint8_t>(s < 18 ? s + 1 : 0xFF);
      for (std::size_t e = 0; e < 8; ++e) {
        auto* entry = &image[at + 32 * e];
        entry[2] = 0x82;
        const std::string file = "GAME PART " + std::to_string(s * 8 + static_cast<int>(e));
        for (std::size_t i = 0; i < 16; ++i) entry[5 + i] = i < file.size() ? file[i] : 0xA0;
        entry[0x1E] = static_cast<std::uint8_t>(e * 10);
      }
    }
    const auto file = std::filesystem::temp_directory_path() /
                      ("hv_readers_bench_" + std::to_string(::getpid()) + ".d64");
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    return file.string();
  }();
  return path;
}

void LoadD64(benchmark::State& state, const std::string& path) {
  std::size_t entries = 0;
  for (auto _ : state) {
    hv::tessary::hvD64 d64;
    if (!d64.Load(path)) state.SkipWithError("Load failed");
    entries = d64.Entries()->All().size();
    benchmark::DoNotOptimize(entries);
  }
  state.counters["entries"] = static_cast<double>(entries);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void RawRead(benchmark::State& state, const std::string& path) {
  std::array<std::uint8_t, 19 * 256> track{};
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::pread(fd, track.data(), track.size(), kTrack18) < 0) {
      state.SkipWithError("read failed");
    }
    ::close(fd);
    benchmark::DoNotOptimize(track.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_D64Load_FullDirectory(benchmark::State& state) {
  LoadD64(state, FullDirectoryImage());
}
void BM_RawRead_FullDirectory(benchmark::State& state) {
  RawRead(state, FullDirectoryImage());
}
void BM_D64Load_Cc1541(benchmark::State& state) {
  LoadD64(state, HV_BENCH_CC1541_IMAGE);
}
void BM_RawRead_Cc1541(benchmark::State& state) {
  RawRead(state, HV_BENCH_CC1541_IMAGE);
}

BENCHMARK(BM_D64Load_FullDirectory);
BENCHMARK(BM_RawRead_FullDirectory);
BENCHMARK(BM_D64Load_Cc1541);
BENCHMARK(BM_RawRead_Cc1541);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(FullDirectoryImage());
  return 0;
}
