#pragma once
// Bounds on what a zip archive may ask of us. Every size read from an archive is checked
// against these before it is used: archives come from downloads, not from us.

#include <cstdint>

namespace hv::zip {

inline constexpr std::uint64_t kKiB = 1024;
inline constexpr std::uint64_t kMiB = 1024 * kKiB;
inline constexpr std::uint64_t kGiB = 1024 * kMiB;

// Entries in one archive (the classic end record's own limit; C64 archives hold a handful).
inline constexpr std::uint64_t kZipMaxEntries = 65535;
// Uncompressed size of one entry. The largest C64 images are a few MiB.
inline constexpr std::uint64_t kZipMaxEntrySize = 256 * kMiB;
// Bytes written by one extraction when the caller names no budget of its own.
inline constexpr std::uint64_t kZipDefaultTotalBytes = 1 * kGiB;
// Uncompressed bytes per compressed byte allowed for an entry once its output passes
// kZipRatioCheckFrom. Empty disk images reach a few hundred; deflate's ceiling is ~1032.
inline constexpr std::uint64_t kZipMaxCompressionRatio = 500;
inline constexpr std::uint64_t kZipRatioCheckFrom = 1 * kMiB;
// Size of the central directory held in memory at once.
inline constexpr std::uint64_t kZipMaxCentralDirectoryBytes = 32 * kMiB;
// The end record (22 bytes) lies within the last 64 KiB + 22 bytes: its comment is at
// most 65535 bytes long.
inline constexpr std::uint64_t kZipEndRecordSize = 22;
inline constexpr std::uint64_t kZipEndSearchBytes = 65535 + kZipEndRecordSize;

}  // namespace hv::zip
