// PPMd variant I revision 1 (method 98) through 7-Zip's Ppmd8 decoder. The data starts with
// two bytes: model order less one (4 bits), memory in MiB less one (8 bits), restoration
// method (4 bits).

extern "C" {
#include "Ppmd8.h"
}

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

#include "tessary/extract/codecs/decoders.h"

namespace hv::codecs {
namespace {

void* Allocate(ISzAllocPtr, std::size_t size) {
  return std::malloc(size);
}
void Release(ISzAllocPtr, void* address) {
  std::free(address);
}
const ISzAlloc kAllocator = {Allocate, Release};

// Feeds the decoder byte by byte from the source; past the end it returns zeros and notes
// the overrun.
struct ByteFeed {
  IByteIn vt;  // first member: the decoder calls through a pointer to it
  const ByteSource* source;
  std::vector<std::uint8_t> buffer;
  std::size_t pos;
  std::size_t end;
  bool overrun;

  static Byte Next(IByteInPtr p) {
    auto* self = reinterpret_cast<ByteFeed*>(const_cast<IByteIn*>(p));
    if (self->pos == self->end) {
      self->end = self->overrun ? 0 : (*self->source)(self->buffer);
      self->pos = 0;
      if (self->end == 0) {
        self->overrun = true;
        return 0;
      }
    }
    return self->buffer[self->pos++];
  }
};

class Model {
 public:
  Model() { Ppmd8_Construct(&ppmd_); }
  ~Model() { Ppmd8_Free(&ppmd_, &kAllocator); }
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;
  CPpmd8* get() noexcept { return &ppmd_; }

 private:
  CPpmd8 ppmd_{};
};

}  // namespace

void DecodePpmd(const CodecInput& input, const ByteSource& source, const ByteSink& sink) {
  ByteFeed feed{{&ByteFeed::Next}, &source, std::vector<std::uint8_t>(kChunk), 0, 0, false};
  const unsigned low = ByteFeed::Next(&feed.vt);
  const unsigned high = ByteFeed::Next(&feed.vt);
  if (feed.overrun) throw DamagedData("compressed data ends early");
  const unsigned value = low | high << 8;
  const unsigned order = (value & 0x0F) + 1;
  const unsigned memory_mib = ((value >> 4) & 0xFF) + 1;
  const unsigned restore = value >> 12;
  if (order < 2 || restore > 1) throw DamagedData("unusable PPMd parameters");

  Model model;
  CPpmd8* p = model.get();
  if (!Ppmd8_Alloc(p, memory_mib << 20, &kAllocator)) throw std::bad_alloc();
  p->Stream.In = &feed.vt;
  if (!Ppmd8_Init_RangeDec(p)) throw DamagedData("compressed data is damaged");
  Ppmd8_Init(p, order, restore);

  std::vector<std::uint8_t> out(kChunk);
  std::uint64_t left = input.uncompressed_size;
  while (left > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), left));
    for (std::size_t i = 0; i < want; ++i) {
      const int symbol = Ppmd8_DecodeSymbol(p);
      if (symbol < 0 || feed.overrun) throw DamagedData("compressed data is damaged");
      out[i] = static_cast<std::uint8_t>(symbol);
    }
    sink(std::span(out).first(want));
    left -= want;
  }
}

}  // namespace hv::codecs
