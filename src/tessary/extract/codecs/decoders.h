#pragma once
// The decoder of each method; codecs.cpp picks one by the method number.

#include <cstddef>

#include "tessary/extract/codecs/codec.h"

namespace hv::codecs {

inline constexpr std::size_t kChunk = 64 * 1024;

void Unshrink(const CodecInput& input, const ByteSource& source, const ByteSink& sink);
void Expand(const CodecInput& input, const ByteSource& source, const ByteSink& sink);
void Explode(const CodecInput& input, const ByteSource& source, const ByteSink& sink);
void Inflate(const CodecInput& input, const ByteSource& source, const ByteSink& sink);
void Inflate64(const CodecInput& input, const ByteSource& source, const ByteSink& sink);
void Bunzip2(const CodecInput& input, const ByteSource& source, const ByteSink& sink);
void DecodeLzma(const CodecInput& input, const ByteSource& source, const ByteSink& sink);
void DecodeXz(const CodecInput& input, const ByteSource& source, const ByteSink& sink);
void DecodePpmd(const CodecInput& input, const ByteSource& source, const ByteSink& sink);

}  // namespace hv::codecs
