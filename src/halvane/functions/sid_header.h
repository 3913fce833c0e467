#pragma once
// The PSID header at the start of a SID file: 118 bytes, numbers big-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace hv::halvane {

inline constexpr std::size_t kSidHeaderSize = 0x76;
inline constexpr std::size_t kSidSongsOffset = 0x0E;
inline constexpr std::size_t kSidStartSongOffset = 0x10;
inline constexpr std::size_t kSidNameOffset = 0x16;
inline constexpr std::size_t kSidAuthorOffset = 0x36;
inline constexpr std::size_t kSidCopyrightOffset = 0x56;
inline constexpr std::size_t kSidTextSize = 32;

using SidHeader = std::array<std::uint8_t, kSidHeaderSize>;

bool HasPsidMagic(const SidHeader& header) noexcept;

// A 16-bit field as the signed integer the callers get; nothing when it does not fit
// (a high byte of 0x80 or more).
std::optional<std::int16_t> SidNumber(const SidHeader& header, std::size_t offset) noexcept;

// A 32-byte text field, padding included.
std::string SidText(const SidHeader& header, std::size_t offset);

// Stores the start song (0 to 256); false for any other value, header unchanged.
bool SetSidStartSong(SidHeader& header, int song) noexcept;

}  // namespace hv::halvane
