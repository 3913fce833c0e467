#pragma once
// 1541 GCR tracks as a G64 image stores them: a bit stream of sync marks, sector headers and
// data blocks, five bits on the disk for every four of data.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace hv::tessary {

using Sector = std::array<std::uint8_t, 256>;

// The sectors found on one track, indexed by sector number (`sectors` slots): a slot stays
// empty when no header of that sector and track was found, or its data block has a bad code or
// checksum. The track is read as the circle it is, so a block may run over its end.
std::vector<std::optional<Sector>> DecodeGcrTrack(std::span<const std::uint8_t> track,
                                                  int track_number, int sectors);

}  // namespace hv::tessary
