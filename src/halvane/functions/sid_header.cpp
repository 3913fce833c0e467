#include "halvane/functions/sid_header.h"

#include "common/text.h"

namespace hv::halvane {

bool HasPsidMagic(const SidHeader& header) noexcept {
  return header[0] == 'P' && header[1] == 'S' && header[2] == 'I' && header[3] == 'D';
}

bool HasRsidMagic(const SidHeader& header) noexcept {
  return header[0] == 'R' && header[1] == 'S' && header[2] == 'I' && header[3] == 'D';
}

std::optional<std::int16_t> SidNumber(const SidHeader& header, std::size_t offset) noexcept {
  const int high = header[offset];
  const int low = header[offset + 1];
  if (high >= 0x80) return std::nullopt;
  return static_cast<std::int16_t>(high * 256 + low);
}

std::string SidText(const SidHeader& header, std::size_t offset) {
  return BytesToString(header.data() + offset, kSidTextSize);
}

bool SetSidStartSong(SidHeader& header, int song) noexcept {
  if (song < 0 || song > 256) return false;
  header[kSidStartSongOffset] = song == 256 ? 1 : 0;
  header[kSidStartSongOffset + 1] = static_cast<std::uint8_t>(song & 0xFF);
  return true;
}

}  // namespace hv::halvane
