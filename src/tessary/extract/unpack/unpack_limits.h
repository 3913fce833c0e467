#pragma once
// Bounds every unpacker keeps. Archives come from downloads, not from us: one that holds itself
// or unpacks to gigabytes must end in a failure, not in a full disk or endless work.

#include <cstdint>

namespace hv::unpack {

inline constexpr std::uint64_t kKiB = 1024;
inline constexpr std::uint64_t kMiB = 1024 * kKiB;
inline constexpr std::uint64_t kGiB = 1024 * kMiB;

// Bytes one extraction may write, over all its levels and archives.
inline constexpr std::uint64_t kDefaultBudget = 1 * kGiB;
// Uncompressed size of one member. The largest C64 images are a few MiB.
inline constexpr std::uint64_t kMaxMemberSize = 256 * kMiB;
// Uncompressed bytes per compressed byte allowed for a member once its output passes
// kRatioCheckFrom. Empty disk images reach a few hundred; deflate's ceiling is ~1032.
inline constexpr std::uint64_t kMaxCompressionRatio = 500;
inline constexpr std::uint64_t kRatioCheckFrom = 1 * kMiB;

}  // namespace hv::unpack
