#pragma once
// zlib's inflate, the one for every reader: raw deflate for zip entries, the gzip wrapper
// (header and CRC checked by zlib) for gzip members.

#include <cstdint>
#include <string>

#include "tessary/extract/codecs/codec.h"

namespace hv::codecs {

enum class DeflateWrapper { kRaw, kGzip };

struct Inflated {
  enum class End {
    kStreamEnd,  // the stream's end marker was reached
    kTruncated,  // the input ran out before it
    kDamaged,    // zlib refused the data; `message` says why where zlib does
  };
  End end = End::kStreamEnd;
  std::uint64_t consumed = 0;  // input bytes up to the stream's end
  std::string message;
};

// Inflates the one stream `source` yields. Passes on what `source` and `sink` throw; throws
// std::bad_alloc when zlib has no memory.
Inflated InflateStream(DeflateWrapper wrapper, const ByteSource& source, const ByteSink& sink);

}  // namespace hv::codecs
