// Reduce (methods 2 to 5): bytes chosen through per-byte follower sets, then a run-length
// and back-reference layer keyed on byte 144. The method number less one is the factor that
// splits a reference's bits between length and distance.

#include <array>
#include <vector>

#include "tessary/extract/codecs/decoders.h"
#include "tessary/extract/codecs/lz_support.h"

namespace hv::codecs {
namespace {

constexpr unsigned kDle = 144;

// Bits that index a follower set of n entries.
unsigned IndexBits(unsigned n) {
  unsigned bits = 1;
  while ((1u << bits) < n) ++bits;
  return bits;
}

}  // namespace

void Expand(const CodecInput& input, const ByteSource& source, const ByteSink& sink) {
  BitReader in(source);
  Window out(sink);
  const unsigned factor = input.method - 1u;
  const unsigned length_mask = 0xFFu >> factor;

  std::array<std::array<std::uint8_t, 64>, 256> followers{};
  std::array<unsigned, 256> follower_count{};
  for (int j = 255; j >= 0; --j) {
    follower_count[j] = in.Read(6);
    for (unsigned i = 0; i < follower_count[j]; ++i) {
      followers[j][i] = static_cast<std::uint8_t>(in.Read(8));
    }
  }

  const std::uint64_t size = input.uncompressed_size;
  unsigned last = 0;
  unsigned state = 0;
  unsigned v = 0;
  std::size_t length = 0;
  while (out.Produced() < size) {
    unsigned c = 0;
    const unsigned n = follower_count[last];
    if (n == 0 || in.Read(1) != 0) {
      c = in.Read(8);
    } else {
      const unsigned index = in.Read(IndexBits(n));
      if (index >= n) throw DamagedData("follower index out of range");
      c = followers[last][index];
    }
    last = c;
    switch (state) {
      case 0:
        if (c == kDle) {
          state = 1;
        } else {
          out.Put(static_cast<std::uint8_t>(c));
        }
        break;
      case 1:
        if (c == 0) {
          out.Put(kDle);
          state = 0;
        } else {
          v = c;
          length = c & length_mask;
          state = length == length_mask ? 2 : 3;
        }
        break;
      case 2:
        length += c;
        state = 3;
        break;
      default: {
        const std::size_t distance = ((v >> (8 - factor)) << 8) + c + 1;
        out.Copy(distance, static_cast<std::size_t>(
                               std::min<std::uint64_t>(length + 3, size - out.Produced())));
        state = 0;
        break;
      }
    }
  }
  out.Flush();
}

}  // namespace hv::codecs
