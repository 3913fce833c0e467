// Deflate through zlib: zip's method 8 and gzip members, and zlib's CRC-32.

#include "tessary/extract/codecs/inflate.h"

#include <zlib.h>

#include <new>
#include <vector>

#include "tessary/extract/codecs/decoders.h"

namespace hv::codecs {
namespace {

// Owns a z_stream; inflateEnd runs on every way out.
class ZStream {
 public:
  explicit ZStream(DeflateWrapper wrapper) {
    // Negative window bits: no wrapper; +16: the gzip wrapper only.
    const int bits = wrapper == DeflateWrapper::kRaw ? -MAX_WBITS : MAX_WBITS + 16;
    if (inflateInit2(&stream_, bits) != Z_OK) throw std::bad_alloc();
  }
  ~ZStream() { inflateEnd(&stream_); }
  ZStream(const ZStream&) = delete;
  ZStream& operator=(const ZStream&) = delete;
  z_stream& get() noexcept { return stream_; }

 private:
  z_stream stream_{};
};

}  // namespace

std::uint32_t Crc32(std::uint32_t crc, std::span<const std::uint8_t> bytes) noexcept {
  return static_cast<std::uint32_t>(crc32(crc, bytes.data(), static_cast<uInt>(bytes.size())));
}

Inflated InflateStream(DeflateWrapper wrapper, const ByteSource& source, const ByteSink& sink) {
  ZStream stream(wrapper);
  z_stream& z = stream.get();
  std::vector<std::uint8_t> in(kChunk);
  std::vector<std::uint8_t> out(kChunk);
  std::uint64_t read = 0;
  bool input_done = false;
  for (;;) {
    if (z.avail_in == 0 && !input_done) {
      const std::size_t n = source(in);
      input_done = n == 0;
      read += n;
      z.next_in = in.data();
      z.avail_in = static_cast<uInt>(n);
    }
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_NO_FLUSH);
    const std::size_t produced = out.size() - z.avail_out;
    const std::uint64_t consumed = read - z.avail_in;
    if (produced > 0) sink(std::span(out).first(produced));
    if (rc == Z_STREAM_END) return {Inflated::End::kStreamEnd, consumed, {}};
    if (rc == Z_BUF_ERROR && z.avail_in == 0 && input_done) {
      return {Inflated::End::kTruncated, consumed, {}};
    }
    if (rc == Z_MEM_ERROR) throw std::bad_alloc();
    if (rc != Z_OK && rc != Z_BUF_ERROR) {
      return {Inflated::End::kDamaged, consumed, z.msg != nullptr ? z.msg : ""};
    }
  }
}

void Inflate(const CodecInput&, const ByteSource& source, const ByteSink& sink) {
  switch (InflateStream(DeflateWrapper::kRaw, source, sink).end) {
    case Inflated::End::kStreamEnd:
      return;
    case Inflated::End::kTruncated:
      throw DamagedData("compressed data ends early");
    case Inflated::End::kDamaged:
      throw DamagedData("compressed data is damaged");
  }
}

}  // namespace hv::codecs
