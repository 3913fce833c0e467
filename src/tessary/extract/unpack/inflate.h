#pragma once
// zlib's inflate over a stretch of an archive file: raw deflate for the zip reader, the gzip
// wrapper (header and CRC checked by zlib) for the gzip reader.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/binary_file.h"

namespace hv::unpack {

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

// Each piece of output, with the number of input bytes consumed so far.
using InflateSink =
    std::function<void(std::span<const std::uint8_t> bytes, std::uint64_t consumed)>;

// Inflates the one stream that starts `offset` bytes into `file`, reading at most `length`
// bytes. Passes on what `sink` throws; throws hv::Error 7 when zlib has no memory.
Inflated Inflate(platform::BinaryFile& file, std::uint64_t offset, std::uint64_t length,
                 DeflateWrapper wrapper, const InflateSink& sink);

}  // namespace hv::unpack
