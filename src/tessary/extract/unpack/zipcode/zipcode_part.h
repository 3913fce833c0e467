#pragma once
// One part of a zipcode set: a load address (and in part 1 the disk's sector ID), then the
// sectors of its tracks in any order, each as track (low 6 bits) with a method (top 2 bits),
// sector, and data: 256 bytes stored, one fill byte, or run-length coded bytes (their count,
// the escape code, then literal bytes and escape-count-byte runs).

#include <cstdint>
#include <span>
#include <string>

namespace hv::zipcode {

// Decodes part `part` (1 to 5) into `image` (a whole D64 image, at least as long as the
// part's tracks reach), filling every sector of its tracks exactly once. Bytes after the last
// sector are ignored (transfers pad files). Throws hv::Error (321) naming `part_name` for a
// truncated part, a sector outside the part's tracks or given twice, an unknown method, or
// run-length data that does not make exactly 256 bytes.
void DecodePart(std::span<const std::uint8_t> bytes, int part, const std::string& part_name,
                std::span<std::uint8_t> image);

}  // namespace hv::zipcode
