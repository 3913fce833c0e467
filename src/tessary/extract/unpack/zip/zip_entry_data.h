#pragma once
// One entry's bytes: the local header is read to find the data, stored or deflated data is
// streamed to a sink, and sizes, CRC-32 and the limits are checked along the way.

#include <cstdint>
#include <functional>
#include <span>

#include "platform/binary_file.h"
#include "tessary/extract/unpack/byte_budget.h"
#include "tessary/extract/unpack/zip/zip_directory.h"

namespace hv::zip {

using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// What the directory alone tells: throws hv::Error (321) for an encrypted entry, an
// unsupported method or an entry too large.
void CheckEntryReadable(const ZipEntry& entry);

// Streams the entry's uncompressed bytes to `sink`, taking them off `budget`. Throws hv::Error
// (321) for a damaged entry (bad local header, lying sizes, inflate error, CRC mismatch), what
// CheckEntryReadable refuses, or a budget or ratio overrun. The sink may see part of the data
// before such a failure; it must discard what it got.
void ReadEntryData(platform::BinaryFile& file, const ZipDirectory& dir, const ZipEntry& entry,
                   unpack::ByteBudget& budget, const ByteSink& sink);

}  // namespace hv::zip
