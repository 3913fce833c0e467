#include "tessary/extract/codecs/codec.h"

#include <algorithm>
#include <vector>

#include "tessary/extract/codecs/decoders.h"

namespace hv::codecs {
namespace {

void CopyStored(const CodecInput& input, const ByteSource& source, const ByteSink& sink) {
  if (input.compressed_size != input.uncompressed_size) {
    throw DamagedData("stored entry with two different sizes");
  }
  std::vector<std::uint8_t> buffer(kChunk);
  std::uint64_t left = input.uncompressed_size;
  while (left > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, left));
    const std::size_t got = source(std::span(buffer).first(want));
    if (got == 0) throw DamagedData("compressed data ends early");
    sink(std::span(buffer).first(got));
    left -= got;
  }
}

}  // namespace

bool CanDecode(std::uint16_t method) noexcept {
  switch (method) {
    case kMethodStored:
    case kMethodShrunk:
    case kMethodImploded:
    case kMethodDeflated:
    case kMethodDeflate64:
    case kMethodBzip2:
    case kMethodLzma:
    case kMethodXz:
    case kMethodPpmd:
      return true;
    default:
      return method >= kMethodReducedFirst && method <= kMethodReducedLast;
  }
}

void Decode(const CodecInput& input, const ByteSource& source, const ByteSink& sink) {
  switch (input.method) {
    case kMethodStored:
      return CopyStored(input, source, sink);
    case kMethodShrunk:
      return Unshrink(input, source, sink);
    case kMethodImploded:
      return Explode(input, source, sink);
    case kMethodDeflated:
      return Inflate(input, source, sink);
    case kMethodDeflate64:
      return Inflate64(input, source, sink);
    case kMethodBzip2:
      return Bunzip2(input, source, sink);
    case kMethodLzma:
      return DecodeLzma(input, source, sink);
    case kMethodXz:
      return DecodeXz(input, source, sink);
    case kMethodPpmd:
      return DecodePpmd(input, source, sink);
    default:
      if (input.method >= kMethodReducedFirst && input.method <= kMethodReducedLast) {
        return Expand(input, source, sink);
      }
      throw DamagedData("unsupported compression method " + std::to_string(input.method));
  }
}

}  // namespace hv::codecs
