#pragma once
// The pieces the hand-written decoders share: a least-significant-bit-first bit reader over
// a ByteSource, an output window that LZ copies read back from, and a table-driven decoder
// for canonical prefix codes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "tessary/extract/codecs/codec.h"

namespace hv::codecs {

class BitReader {
 public:
  explicit BitReader(const ByteSource& source);

  // The next `n` (at most 32) bits without taking them. Past the end of the data zeros are
  // supplied; taking any of them is an error (see Drop).
  std::uint32_t Peek(unsigned n) {
    if (count_ < n) Fill(n);
    return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1));
  }
  void Drop(unsigned n) {
    bits_ >>= n;
    count_ -= n;
    if (count_ < padding_) throw DamagedData("compressed data ends early");
  }
  std::uint32_t Read(unsigned n) {
    const std::uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  // Skips to the next byte boundary.
  void AlignToByte() { Drop(count_ % 8); }

 private:
  void Fill(unsigned n);

  const ByteSource& source_;
  std::vector<std::uint8_t> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
  std::uint64_t bits_ = 0;
  unsigned count_ = 0;
  unsigned padding_ = 0;  // zero bits past the end of the data at the top of bits_
};

// The last 128 KiB of output, passed to the sink in chunks as it fills. A copy from before
// the first byte reads zeros, as the PKZIP 1 methods define it.
class Window {
 public:
  explicit Window(const ByteSink& sink);
  ~Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  void Put(std::uint8_t byte) {
    ring_[pos_] = byte;
    ++produced_;
    if (++pos_ == kSize) Wrap();
  }
  // `length` bytes from `distance` back; distance is at most 64 KiB.
  void Copy(std::size_t distance, std::size_t length) {
    std::size_t from = (pos_ - distance) & (kSize - 1);
    while (length-- > 0) {
      Put(ring_[from]);
      from = (from + 1) & (kSize - 1);
    }
  }
  std::uint64_t Produced() const noexcept { return produced_; }
  // Passes everything not yet passed to the sink.
  void Flush();

 private:
  static constexpr std::size_t kSize = std::size_t{1} << 17;
  void Wrap();

  const ByteSink& sink_;
  std::vector<std::uint8_t> ring_;
  std::size_t pos_ = 0;
  std::size_t flushed_ = 0;
  std::uint64_t produced_ = 0;
};

// A canonical prefix code (deflate's assignment: shorter codes first, equal lengths in symbol
// order), read least-significant bit first. `inverted` reads codes sent with every bit
// flipped, as implode's trees are.
class PrefixCode {
 public:
  // lengths[s] is symbol s's code length, 0 for unused. Throws DamagedData for a set of
  // lengths that over-subscribes the code, or that leaves gaps unless `allow_incomplete`.
  PrefixCode(std::span<const std::uint8_t> lengths, bool inverted, bool allow_incomplete);

  unsigned Decode(BitReader& in) const {
    const std::uint32_t entry = table_[in.Peek(max_length_)];
    const unsigned length = entry & 0x1F;
    if (length == 0) throw DamagedData("invalid prefix code");
    in.Drop(length);
    return entry >> 5;
  }

 private:
  std::vector<std::uint32_t> table_;  // symbol << 5 | length, indexed by the next bits
  unsigned max_length_ = 1;
};

}  // namespace hv::codecs
