#include "tessary/extract/unpack/inflate.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

#include "common/error.h"

namespace hv::unpack {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Owns a z_stream; inflateEnd runs on every way out.
class ZStream {
 public:
  explicit ZStream(DeflateWrapper wrapper) {
    // Negative window bits: no wrapper; +16: the gzip wrapper only.
    const int bits = wrapper == DeflateWrapper::kRaw ? -MAX_WBITS : MAX_WBITS + 16;
    if (inflateInit2(&stream_, bits) != Z_OK) throw Error(vberr::kOutOfMemory);
  }
  ~ZStream() { inflateEnd(&stream_); }
  ZStream(const ZStream&) = delete;
  ZStream& operator=(const ZStream&) = delete;
  z_stream& get() noexcept { return stream_; }

 private:
  z_stream stream_{};
};

}  // namespace

Inflated Inflate(platform::BinaryFile& file, std::uint64_t offset, std::uint64_t length,
                 DeflateWrapper wrapper, const InflateSink& sink) {
  ZStream stream(wrapper);
  z_stream& z = stream.get();
  std::vector<std::uint8_t> in(kChunk);
  std::vector<std::uint8_t> out(kChunk);
  std::uint64_t read = 0;
  for (;;) {
    if (z.avail_in == 0 && read < length) {
      const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - read));
      file.ReadAt(offset + read, std::span(in).first(n));
      read += n;
      z.next_in = in.data();
      z.avail_in = static_cast<uInt>(n);
    }
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_NO_FLUSH);
    const std::size_t produced = out.size() - z.avail_out;
    const std::uint64_t consumed = read - z.avail_in;
    if (produced > 0) sink(std::span(out).first(produced), consumed);
    if (rc == Z_STREAM_END) return {Inflated::End::kStreamEnd, consumed, {}};
    if (rc == Z_BUF_ERROR && z.avail_in == 0 && read == length) {
      return {Inflated::End::kTruncated, consumed, {}};
    }
    if (rc != Z_OK && rc != Z_BUF_ERROR) {
      return {Inflated::End::kDamaged, consumed, z.msg != nullptr ? z.msg : ""};
    }
  }
}

}  // namespace hv::unpack
