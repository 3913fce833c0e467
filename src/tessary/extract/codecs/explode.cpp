// Implode (method 6), PKZIP 1's LZ77 with Shannon-Fano trees. Flag bit 1 selects the 8 KiB
// window (else 4 KiB), bit 2 the literal tree (else literals are sent as plain bytes).

#include <array>
#include <vector>

#include "tessary/extract/codecs/decoders.h"
#include "tessary/extract/codecs/lz_support.h"

namespace hv::codecs {
namespace {

constexpr std::uint16_t kFlagLargeWindow = 0x02;
constexpr std::uint16_t kFlagLiteralTree = 0x04;

// A tree is sent as run lengths: one byte giving the count of bytes that follow less one,
// then per byte the code length less one (low nibble) and its repeat count less one.
PrefixCode ReadTree(BitReader& in, std::size_t symbols) {
  std::vector<std::uint8_t> lengths;
  const unsigned bytes = in.Read(8) + 1;
  for (unsigned i = 0; i < bytes; ++i) {
    const unsigned byte = in.Read(8);
    const unsigned repeat = (byte >> 4) + 1;
    if (lengths.size() + repeat > symbols) throw DamagedData("implode tree too long");
    lengths.insert(lengths.end(), repeat, static_cast<std::uint8_t>((byte & 0x0F) + 1));
  }
  if (lengths.size() != symbols) throw DamagedData("implode tree too short");
  return PrefixCode(lengths, true, true);
}

}  // namespace

void Explode(const CodecInput& input, const ByteSource& source, const ByteSink& sink) {
  BitReader in(source);
  Window out(sink);
  const bool literal_tree = (input.flags & kFlagLiteralTree) != 0;
  const unsigned low_distance_bits = (input.flags & kFlagLargeWindow) != 0 ? 7 : 6;
  const unsigned min_match = literal_tree ? 3 : 2;
  std::vector<PrefixCode> trees;
  if (literal_tree) trees.push_back(ReadTree(in, 256));
  const PrefixCode lengths = ReadTree(in, 64);
  const PrefixCode distances = ReadTree(in, 64);

  const std::uint64_t size = input.uncompressed_size;
  while (out.Produced() < size) {
    if (in.Read(1) != 0) {
      out.Put(static_cast<std::uint8_t>(literal_tree ? trees[0].Decode(in) : in.Read(8)));
      continue;
    }
    const unsigned low = in.Read(low_distance_bits);
    const std::size_t distance = (distances.Decode(in) << low_distance_bits | low) + 1;
    std::size_t length = lengths.Decode(in);
    if (length == 63) length += in.Read(8);
    length += min_match;
    // The last match may reach past the end of the data; the rest is not part of the entry.
    out.Copy(distance,
             static_cast<std::size_t>(std::min<std::uint64_t>(length, size - out.Produced())));
  }
  out.Flush();
}

}  // namespace hv::codecs
