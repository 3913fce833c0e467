#include "tessary/readers/gcr.h"

#include <algorithm>
#include <cstddef>

namespace hv::tessary {
namespace {

// The 5-bit code of each 4-bit value, as the 1541 writes it; every other code is invalid.
constexpr std::uint8_t kGcrCodes[16] = {0x0A, 0x0B, 0x12, 0x13, 0x0E, 0x0F, 0x16, 0x17,
                                        0x09, 0x19, 0x1A, 0x1B, 0x0D, 0x1D, 0x1E, 0x15};

constexpr int kSyncBits = 10;  // a sync mark is at least ten 1 bits in a row
constexpr std::uint8_t kHeaderMark = 0x08;
constexpr std::uint8_t kDataMark = 0x07;
constexpr std::size_t kHeaderBytes = 8;  // mark, checksum, sector, track, ID2, ID1, 0x0F, 0x0F
constexpr std::size_t kDataBytes = 258;  // mark, 256 bytes, checksum

int Nibble(unsigned code) {
  for (int i = 0; i < 16; ++i) {
    if (kGcrCodes[i] == code) return i;
  }
  return -1;
}

// The track's bits as a circle.
class BitRing {
 public:
  explicit BitRing(std::span<const std::uint8_t> bytes) : bytes_(bytes), size_(bytes.size() * 8) {}
  std::size_t size() const noexcept { return size_; }
  unsigned Bit(std::size_t at) const noexcept {
    at %= size_;
    return (bytes_[at / 8] >> (7 - at % 8)) & 1u;
  }
  // Decodes `count` bytes from bit `at`; false on an invalid code.
  bool Decode(std::size_t at, std::uint8_t* out, std::size_t count) const {
    for (std::size_t i = 0; i < count; ++i) {
      int value = 0;
      for (int half = 0; half < 2; ++half) {
        unsigned code = 0;
        for (int b = 0; b < 5; ++b) code = (code << 1) | Bit(at++);
        const int nibble = Nibble(code);
        if (nibble < 0) return false;
        value = (value << 4) | nibble;
      }
      out[i] = static_cast<std::uint8_t>(value);
    }
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t size_;
};

// Where the blocks behind sync marks start, in track order from the first sync.
std::vector<std::size_t> BlockStarts(const BitRing& ring) {
  std::vector<std::size_t> starts;
  const std::size_t n = ring.size();
  if (n == 0) return starts;
  // Begin after a 0 bit so that a sync running over the end of the track is counted whole.
  std::size_t begin = 0;
  while (begin < n && ring.Bit(begin) == 1) ++begin;
  if (begin == n) return starts;  // nothing but 1 bits
  int ones = 0;
  for (std::size_t i = begin + 1; i <= begin + n; ++i) {
    if (ring.Bit(i) == 1) {
      ++ones;
    } else {
      if (ones >= kSyncBits) starts.push_back(i % n);
      ones = 0;
    }
  }
  return starts;
}

}  // namespace

std::vector<std::optional<Sector>> DecodeGcrTrack(std::span<const std::uint8_t> track,
                                                  int track_number, int sectors) {
  std::vector<std::optional<Sector>> found(static_cast<std::size_t>(sectors > 0 ? sectors : 0));
  const BitRing ring(track);
  const std::vector<std::size_t> starts = BlockStarts(ring);
  for (std::size_t k = 0; k < starts.size(); ++k) {
    std::uint8_t header[kHeaderBytes];
    if (!ring.Decode(starts[k], header, kHeaderBytes) || header[0] != kHeaderMark) continue;
    if (header[3] != track_number || header[2] >= found.size()) continue;
    if ((header[2] ^ header[3] ^ header[4] ^ header[5]) != header[1]) continue;
    // The data block follows behind the next sync mark.
    const std::size_t data_start = starts[(k + 1) % starts.size()];
    std::uint8_t data[kDataBytes];
    if (!ring.Decode(data_start, data, kDataBytes) || data[0] != kDataMark) continue;
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i <= 256; ++i) sum ^= data[i];
    if (sum != data[257]) continue;
    Sector& sector = found[header[2]].emplace();
    std::copy(data + 1, data + 257, sector.begin());
  }
  return found;
}

}  // namespace hv::tessary
