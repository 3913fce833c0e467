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
// RSID: the same header, for tunes that need a whole C64 to play.
bool HasRsidMagic(const SidHeader& header) noexcept;

// A SID tune of either kind, as the command line reads it; the automation methods keep to PSID.
struct SidTune {
  std::string magic;                    // "PSID" or "RSID"
  std::string name, author, copyright;  // the 32-byte fields, padding included
  std::int16_t songs = 0, start = 0;
};

// The tune at `path`; nothing for a file that is no PSID or RSID tune or whose song numbers do
// not fit. File errors throw hv::Error.
std::optional<SidTune> ReadSidTune(const std::string& path);

// Stores the start song (0 to 256) of a PSID or RSID tune under the rules of
// SaveDefaultSidSong; false when it does not.
bool SaveSidTuneStartSong(const std::string& path, int song);

// A 16-bit field as the signed integer the callers get; nothing when it does not fit
// (a high byte of 0x80 or more).
std::optional<std::int16_t> SidNumber(const SidHeader& header, std::size_t offset) noexcept;

// A 32-byte text field, padding included.
std::string SidText(const SidHeader& header, std::size_t offset);

// Stores the start song (0 to 256); false for any other value, header unchanged.
bool SetSidStartSong(SidHeader& header, int song) noexcept;

}  // namespace hv::halvane
