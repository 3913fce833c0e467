// bzip2 (method 12) through libbzip2.

#include <bzlib.h>

#include <new>
#include <vector>

#include "tessary/extract/codecs/decoders.h"

namespace hv::codecs {
namespace {

class BzStream {
 public:
  BzStream() {
    if (BZ2_bzDecompressInit(&stream_, 0, 0) != BZ_OK) throw std::bad_alloc();
  }
  ~BzStream() { BZ2_bzDecompressEnd(&stream_); }
  BzStream(const BzStream&) = delete;
  BzStream& operator=(const BzStream&) = delete;
  bz_stream& get() noexcept { return stream_; }

 private:
  bz_stream stream_{};
};

}  // namespace

void Bunzip2(const CodecInput&, const ByteSource& source, const ByteSink& sink) {
  BzStream stream;
  bz_stream& z = stream.get();
  std::vector<std::uint8_t> in(kChunk);
  std::vector<std::uint8_t> out(kChunk);
  for (;;) {
    if (z.avail_in == 0) {
      const std::size_t n = source(in);
      if (n == 0) throw DamagedData("compressed data ends early");
      z.next_in = reinterpret_cast<char*>(in.data());
      z.avail_in = static_cast<unsigned>(n);
    }
    z.next_out = reinterpret_cast<char*>(out.data());
    z.avail_out = static_cast<unsigned>(out.size());
    const int rc = BZ2_bzDecompress(&z);
    const std::size_t produced = out.size() - z.avail_out;
    if (produced > 0) sink(std::span(out).first(produced));
    if (rc == BZ_STREAM_END) return;
    if (rc == BZ_MEM_ERROR) throw std::bad_alloc();
    if (rc != BZ_OK) throw DamagedData("compressed data is damaged");
  }
}

}  // namespace hv::codecs
