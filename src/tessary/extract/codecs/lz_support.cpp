#include "tessary/extract/codecs/lz_support.h"

#include <algorithm>
#include <array>

#include "tessary/extract/codecs/decoders.h"

namespace hv::codecs {

BitReader::BitReader(const ByteSource& source) : source_(source), buffer_(kChunk) {}

void BitReader::Fill(unsigned n) {
  while (count_ < n) {
    if (pos_ == end_ && !exhausted_) {
      end_ = source_(buffer_);
      pos_ = 0;
      exhausted_ = end_ == 0;
    }
    std::uint8_t byte = 0;
    if (pos_ < end_) {
      byte = buffer_[pos_++];
    } else {
      padding_ += 8;
    }
    bits_ |= std::uint64_t{byte} << count_;
    count_ += 8;
  }
}

Window::Window(const ByteSink& sink) : sink_(sink), ring_(kSize, 0) {}

void Window::Wrap() {
  sink_(std::span(ring_).subspan(flushed_));
  pos_ = 0;
  flushed_ = 0;
}

void Window::Flush() {
  if (pos_ > flushed_) sink_(std::span(ring_).subspan(flushed_, pos_ - flushed_));
  flushed_ = pos_;
}

PrefixCode::PrefixCode(std::span<const std::uint8_t> lengths, bool inverted,
                       bool allow_incomplete) {
  constexpr unsigned kMaxLength = 16;
  std::array<unsigned, kMaxLength + 1> count{};
  for (const std::uint8_t length : lengths) {
    if (length > kMaxLength) throw DamagedData("prefix code too long");
    ++count[length];
    if (length > max_length_) max_length_ = length;
  }
  // Kraft sum in units of 2^-kMaxLength.
  std::uint32_t used = 0;
  for (unsigned length = 1; length <= kMaxLength; ++length) {
    used += count[length] << (kMaxLength - length);
  }
  if (used > (1u << kMaxLength)) throw DamagedData("over-subscribed prefix code");
  if (used < (1u << kMaxLength) && !allow_incomplete) {
    throw DamagedData("incomplete prefix code");
  }
  std::array<std::uint32_t, kMaxLength + 2> next{};
  std::uint32_t code = 0;
  count[0] = 0;
  for (unsigned length = 1; length <= kMaxLength; ++length) {
    code = (code + count[length - 1]) << 1;
    next[length] = code;
  }
  table_.assign(std::size_t{1} << max_length_, 0);
  for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    const unsigned length = lengths[symbol];
    if (length == 0) continue;
    std::uint32_t value = next[length]++;
    if (inverted) value = ~value & ((1u << length) - 1);
    std::uint32_t reversed = 0;
    for (unsigned i = 0; i < length; ++i) reversed |= ((value >> i) & 1u) << (length - 1 - i);
    const std::uint32_t entry = static_cast<std::uint32_t>(symbol) << 5 | length;
    for (std::size_t i = reversed; i < table_.size(); i += std::size_t{1} << length) {
      table_[i] = entry;
    }
  }
}

}  // namespace hv::codecs
