// Shrink (method 1): LZW with 9- to 13-bit codes, where code 256 announces a control code:
// 1 widens the codes by a bit, 2 frees every code no other code extends (a partial clear).
// Freed codes are reused lowest first.

#include <array>
#include <memory>
#include <vector>

#include "tessary/extract/codecs/decoders.h"
#include "tessary/extract/codecs/lz_support.h"

namespace hv::codecs {
namespace {

constexpr unsigned kMaxBits = 13;
constexpr unsigned kCodes = 1u << kMaxBits;
constexpr unsigned kControl = 256;
constexpr unsigned kFirstFree = 257;
constexpr std::int32_t kUnused = -1;

class Table {
 public:
  Table() {
    prefix_.fill(kUnused);
    for (unsigned c = 0; c < 256; ++c) {
      prefix_[c] = kLiteral;
      suffix_[c] = static_cast<std::uint8_t>(c);
    }
  }
  bool Used(unsigned code) const { return prefix_[code] != kUnused; }

  // Writes the string of `code` into `out` (reversed order filled back to front) and returns
  // its first byte.
  std::uint8_t Expand(unsigned code, std::vector<std::uint8_t>& out) const {
    out.clear();
    for (unsigned steps = 0; prefix_[code] != kLiteral; ++steps) {
      if (steps == kCodes || prefix_[code] == kUnused) throw DamagedData("bad shrink code chain");
      out.push_back(suffix_[code]);
      code = static_cast<unsigned>(prefix_[code]);
    }
    out.push_back(suffix_[code]);
    return suffix_[code];
  }

  // Adds prefix + byte at the lowest free code, when there is one.
  void Add(unsigned prefix, std::uint8_t byte) {
    while (next_ < kCodes && Used(next_)) ++next_;
    if (next_ == kCodes) return;
    prefix_[next_] = static_cast<std::int32_t>(prefix);
    suffix_[next_] = byte;
  }
  unsigned NextFree() {
    while (next_ < kCodes && Used(next_)) ++next_;
    return next_;
  }

  void PartialClear() {
    std::vector<bool> is_prefix(kCodes, false);
    for (unsigned c = kFirstFree; c < kCodes; ++c) {
      if (prefix_[c] >= static_cast<std::int32_t>(kFirstFree)) is_prefix[prefix_[c]] = true;
    }
    for (unsigned c = kFirstFree; c < kCodes; ++c) {
      if (!is_prefix[c]) prefix_[c] = kUnused;
    }
    next_ = kFirstFree;
  }

 private:
  static constexpr std::int32_t kLiteral = -2;
  std::array<std::int32_t, kCodes> prefix_{};
  std::array<std::uint8_t, kCodes> suffix_{};
  unsigned next_ = kFirstFree;
};

}  // namespace

void Unshrink(const CodecInput& input, const ByteSource& source, const ByteSink& sink) {
  BitReader in(source);
  Window out(sink);
  auto table = std::make_unique<Table>();
  std::vector<std::uint8_t> text;
  unsigned bits = 9;
  const std::uint64_t size = input.uncompressed_size;
  bool have_previous = false;
  unsigned previous = 0;
  std::uint8_t previous_first = 0;
  while (out.Produced() < size) {
    const unsigned code = in.Read(bits);
    if (code == kControl) {
      const unsigned control = in.Read(bits);
      if (control == 1 && bits < kMaxBits) {
        ++bits;
      } else if (control == 2) {
        table->PartialClear();
      } else {
        throw DamagedData("bad shrink control code");
      }
      continue;
    }
    std::uint8_t first = 0;
    if (table->Used(code)) {
      first = table->Expand(code, text);
      if (have_previous) table->Add(previous, first);
    } else {
      // The code the encoder is defining right now: the previous string plus its own first
      // byte.
      if (!have_previous || code != table->NextFree()) throw DamagedData("bad shrink code");
      table->Add(previous, previous_first);
      first = table->Expand(code, text);
    }
    for (auto it = text.rbegin(); it != text.rend() && out.Produced() < size; ++it) out.Put(*it);
    have_previous = true;
    previous = code;
    previous_first = first;
  }
  out.Flush();
}

}  // namespace hv::codecs
