// LZMA (method 14) and XZ (method 95) through liblzma.

#include <lzma.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <new>
#include <vector>

#include "tessary/extract/codecs/decoders.h"

namespace hv::codecs {
namespace {

// Bounds what a hostile XZ header may make us allocate; the largest dictionary xz writes
// (preset 9e) is 64 MiB.
constexpr std::uint64_t kXzMemoryLimit = 256ull << 20;

class LzmaStream {
 public:
  LzmaStream() = default;
  ~LzmaStream() { lzma_end(&stream_); }
  LzmaStream(const LzmaStream&) = delete;
  LzmaStream& operator=(const LzmaStream&) = delete;
  lzma_stream& get() noexcept { return stream_; }

 private:
  lzma_stream stream_ = LZMA_STREAM_INIT;
};

void CheckStart(lzma_ret rc) {
  if (rc == LZMA_MEM_ERROR) throw std::bad_alloc();
  if (rc != LZMA_OK) throw DamagedData("unusable LZMA properties");
}

void Pump(lzma_stream& z, const ByteSource& source, const ByteSink& sink) {
  std::vector<std::uint8_t> in(kChunk);
  std::vector<std::uint8_t> out(kChunk);
  lzma_action action = LZMA_RUN;
  for (;;) {
    if (z.avail_in == 0 && action == LZMA_RUN) {
      const std::size_t n = source(in);
      if (n == 0) action = LZMA_FINISH;
      z.next_in = in.data();
      z.avail_in = n;
    }
    z.next_out = out.data();
    z.avail_out = out.size();
    const lzma_ret rc = lzma_code(&z, action);
    const std::size_t produced = out.size() - z.avail_out;
    if (produced > 0) sink(std::span(out).first(produced));
    if (rc == LZMA_STREAM_END) return;
    if (rc == LZMA_MEM_ERROR || rc == LZMA_MEMLIMIT_ERROR) throw std::bad_alloc();
    if (rc == LZMA_BUF_ERROR) throw DamagedData("compressed data ends early");
    if (rc != LZMA_OK) throw DamagedData("compressed data is damaged");
  }
}

}  // namespace

// The data starts with a 4-byte header (encoder version, length of the properties) and the
// 5 bytes of LZMA properties.
void DecodeLzma(const CodecInput& input, const ByteSource& source, const ByteSink& sink) {
  std::array<std::uint8_t, 9> header{};
  std::size_t have = 0;
  while (have < header.size()) {
    const std::size_t n = source(std::span(header).subspan(have));
    if (n == 0) throw DamagedData("compressed data ends early");
    have += n;
  }
  if (header[2] != 5 || header[3] != 0) throw DamagedData("unusable LZMA properties");
  lzma_filter filters[2] = {{LZMA_FILTER_LZMA1EXT, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
  CheckStart(lzma_properties_decode(&filters[0], nullptr, &header[4], 5));
  // Owned by liblzma's allocator from here on.
  struct Options {
    void* p;
    ~Options() { std::free(p); }
  } owned{filters[0].options};
  auto* options = static_cast<lzma_options_lzma*>(filters[0].options);
  // No reference reaches further back than the entry's own size: a larger window only costs
  // memory a hostile header could ask for.
  options->dict_size = static_cast<std::uint32_t>(std::max<std::uint64_t>(
      LZMA_DICT_SIZE_MIN, std::min<std::uint64_t>(input.uncompressed_size, options->dict_size)));
  options->ext_size_low = static_cast<std::uint32_t>(input.uncompressed_size);
  options->ext_size_high = static_cast<std::uint32_t>(input.uncompressed_size >> 32);
  // Flag bit 1 announces an end marker; one is accepted without it as well.
  options->ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
  LzmaStream stream;
  CheckStart(lzma_raw_decoder(&stream.get(), filters));
  Pump(stream.get(), source, sink);
}

void DecodeXz(const CodecInput&, const ByteSource& source, const ByteSink& sink) {
  LzmaStream stream;
  CheckStart(lzma_stream_decoder(&stream.get(), kXzMemoryLimit, LZMA_CONCATENATED));
  Pump(stream.get(), source, sink);
}

}  // namespace hv::codecs
