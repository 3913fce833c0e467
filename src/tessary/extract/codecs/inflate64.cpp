// Deflate64 (method 9): deflate with a 64 KiB window, length code 285 carrying 16 extra bits
// and two more distance codes. zlib reads only deflate, so this is our own.

#include <array>
#include <vector>

#include "tessary/extract/codecs/decoders.h"
#include "tessary/extract/codecs/lz_support.h"

namespace hv::codecs {
namespace {

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                       15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 3};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
constexpr std::array<std::uint32_t, 32> kDistanceBase = {
    1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::array<std::uint8_t, 32> kDistanceExtra = {0,  0,  0,  0,  1,  1,  2,  2,  3,  3, 4,
                                                         4,  5,  5,  6,  6,  7,  7,  8,  8,  9, 9,
                                                         10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
constexpr std::size_t kWindowSize = 65536;

class Inflater64 {
 public:
  Inflater64(const CodecInput& input, const ByteSource& source, const ByteSink& sink)
      : size_(input.uncompressed_size), in_(source), out_(sink) {}

  void Run() {
    bool last = false;
    while (!last) {
      last = in_.Read(1) != 0;
      switch (in_.Read(2)) {
        case 0:
          Stored();
          break;
        case 1:
          Fixed();
          break;
        case 2:
          Dynamic();
          break;
        default:
          throw DamagedData("bad block type");
      }
    }
    out_.Flush();
  }

 private:
  void Stored() {
    in_.AlignToByte();
    const unsigned length = in_.Read(16);
    if ((in_.Read(16) ^ 0xFFFFu) != length) throw DamagedData("bad stored block length");
    for (unsigned i = 0; i < length; ++i) Put(static_cast<std::uint8_t>(in_.Read(8)));
  }

  void Fixed() {
    std::array<std::uint8_t, 288> literal{};
    std::fill(literal.begin(), literal.begin() + 144, 8);
    std::fill(literal.begin() + 144, literal.begin() + 256, 9);
    std::fill(literal.begin() + 256, literal.begin() + 280, 7);
    std::fill(literal.begin() + 280, literal.end(), 8);
    std::array<std::uint8_t, 32> distance{};
    distance.fill(5);
    Codes(PrefixCode(literal, false, false), PrefixCode(distance, false, false));
  }

  void Dynamic() {
    static constexpr std::array<std::uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                            11, 4,  12, 3, 13, 2, 14, 1, 15};
    const unsigned literals = in_.Read(5) + 257;
    const unsigned distances = in_.Read(5) + 1;
    const unsigned code_lengths = in_.Read(4) + 4;
    std::array<std::uint8_t, 19> cl{};
    for (unsigned i = 0; i < code_lengths; ++i)
      cl[kOrder[i]] = static_cast<std::uint8_t>(in_.Read(3));
    const PrefixCode cl_code(cl, false, false);
    std::vector<std::uint8_t> lengths(literals + distances, 0);
    for (std::size_t i = 0; i < lengths.size();) {
      const unsigned symbol = cl_code.Decode(in_);
      if (symbol < 16) {
        lengths[i++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      std::uint8_t value = 0;
      unsigned repeat = 0;
      if (symbol == 16) {
        if (i == 0) throw DamagedData("repeat with no previous length");
        value = lengths[i - 1];
        repeat = 3 + in_.Read(2);
      } else if (symbol == 17) {
        repeat = 3 + in_.Read(3);
      } else {
        repeat = 11 + in_.Read(7);
      }
      if (i + repeat > lengths.size()) throw DamagedData("code lengths overrun");
      for (unsigned r = 0; r < repeat; ++r) lengths[i++] = value;
    }
    if (lengths[256] == 0) throw DamagedData("no end-of-block code");
    const std::span<const std::uint8_t> all(lengths);
    // A distance code with a single symbol (or none) is incomplete by nature.
    Codes(PrefixCode(all.first(literals), false, false),
          PrefixCode(all.subspan(literals), false, true));
  }

  void Codes(const PrefixCode& literal, const PrefixCode& distance) {
    for (;;) {
      const unsigned symbol = literal.Decode(in_);
      if (symbol < 256) {
        Put(static_cast<std::uint8_t>(symbol));
        continue;
      }
      if (symbol == 256) return;
      if (symbol > 285) throw DamagedData("bad length code");
      const unsigned li = symbol - 257;
      const std::size_t length = kLengthBase[li] + in_.Read(kLengthExtra[li]);
      const unsigned di = distance.Decode(in_);
      if (di >= kDistanceBase.size()) throw DamagedData("bad distance code");
      const std::size_t dist = kDistanceBase[di] + in_.Read(kDistanceExtra[di]);
      if (dist > out_.Produced() || dist > kWindowSize) throw DamagedData("distance too far back");
      if (length > size_ - out_.Produced()) throw DamagedData("data longer than its size");
      out_.Copy(dist, length);
    }
  }

  void Put(std::uint8_t byte) {
    if (out_.Produced() == size_) throw DamagedData("data longer than its size");
    out_.Put(byte);
  }

  std::uint64_t size_;
  BitReader in_;
  Window out_;
};

}  // namespace

void Inflate64(const CodecInput& input, const ByteSource& source, const ByteSink& sink) {
  Inflater64(input, source, sink).Run();
}

}  // namespace hv::codecs
