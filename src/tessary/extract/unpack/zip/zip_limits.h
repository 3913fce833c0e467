#pragma once
// Bounds on what a zip archive's directory may ask of us, checked before a size is used; the
// bounds every unpacker keeps are in unpack/unpack_limits.h.

#include <cstdint>

#include "tessary/extract/unpack/unpack_limits.h"

namespace hv::zip {

// Entries in one archive (the classic end record's own limit; C64 archives hold a handful).
inline constexpr std::uint64_t kZipMaxEntries = 65535;
// Size of the central directory held in memory at once.
inline constexpr std::uint64_t kZipMaxCentralDirectoryBytes = 32 * unpack::kMiB;
// The end record (22 bytes) lies within the last 64 KiB + 22 bytes: its comment is at
// most 65535 bytes long.
inline constexpr std::uint64_t kZipEndRecordSize = 22;
inline constexpr std::uint64_t kZipEndSearchBytes = 65535 + kZipEndRecordSize;

}  // namespace hv::zip
