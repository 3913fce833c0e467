#pragma once
// Bounds of one extraction. Stored archives come from downloads: an archive that holds itself
// or unpacks to gigabytes must end in a failure report, not in a full disk or endless work.

#include <cstdint>

namespace hv::tessary {

// Folder levels one extraction may examine (P1 ... P16 below the working folder).
inline constexpr std::int16_t kExtractMaxDepth = 16;
// The largest loose file taken for a program file.
inline constexpr std::uint64_t kLooseFileMaxBytes = 51200;

}  // namespace hv::tessary
