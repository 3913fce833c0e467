#pragma once
// One entry's bytes: the local header is read to find the data, stored or deflated data is
// streamed to a sink, and sizes, CRC-32 and the limits are checked along the way.

#include <cstdint>
#include <functional>
#include <span>

#include "platform/binary_file.h"
#include "tessary/extract/unpack/zip/zip_directory.h"

namespace hv::zip {

using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// Streams the entry's uncompressed bytes to `sink`. `budget` is the number of bytes the
// extraction may still write; it is reduced by what this entry produces. Throws hv::Error
// (321) for a damaged entry (bad local header, lying sizes, inflate error, CRC mismatch),
// an unsupported method, encryption, or a budget or ratio overrun. The sink may see part
// of the data before such a failure; it must discard what it got.
void ReadEntryData(platform::BinaryFile& file, const ZipDirectory& dir, const ZipEntry& entry,
                   std::uint64_t& budget, const ByteSink& sink);

}  // namespace hv::zip
