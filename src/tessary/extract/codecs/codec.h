#pragma once
// Decoders for the compression methods a zip entry may use, behind one interface: the caller
// hands over where the compressed bytes come from and where the output goes, with what the
// entry's header says about it. Every decoder stops once it has produced the declared size;
// the caller still checks sizes and CRC-32.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>

namespace hv::codecs {

// Fills the front of `buffer` with the next compressed bytes; returns how many it gave, 0
// only when the entry's data is used up.
using ByteSource = std::function<std::size_t(std::span<std::uint8_t>)>;
using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

struct CodecInput {
  std::uint16_t method = 0;
  std::uint16_t flags = 0;  // the entry's general-purpose flags (implode and LZMA read them)
  std::uint64_t compressed_size = 0;
  std::uint64_t uncompressed_size = 0;
};

// Damaged or truncated compressed data, or settings no encoder writes.
class DamagedData : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodShrunk = 1;
inline constexpr std::uint16_t kMethodReducedFirst = 2;
inline constexpr std::uint16_t kMethodReducedLast = 5;
inline constexpr std::uint16_t kMethodImploded = 6;
inline constexpr std::uint16_t kMethodDeflated = 8;
inline constexpr std::uint16_t kMethodDeflate64 = 9;
inline constexpr std::uint16_t kMethodBzip2 = 12;
inline constexpr std::uint16_t kMethodLzma = 14;
inline constexpr std::uint16_t kMethodXz = 95;
inline constexpr std::uint16_t kMethodPpmd = 98;

bool CanDecode(std::uint16_t method) noexcept;

// The zip CRC-32 of `bytes` continued from `crc` (0 to start).
std::uint32_t Crc32(std::uint32_t crc, std::span<const std::uint8_t> bytes) noexcept;

// Streams the decoded bytes of one entry to `sink`. Throws DamagedData for bad data,
// std::bad_alloc when the data asks for more memory than there is, and passes on whatever
// the source or the sink throws.
void Decode(const CodecInput& input, const ByteSource& source, const ByteSink& sink);

}  // namespace hv::codecs
