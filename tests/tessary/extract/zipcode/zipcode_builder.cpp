#include "zipcode_builder.h"

#include <algorithm>

#include "tessary/extract/unpack/zipcode/zipcode_geometry.h"

namespace hv::test {

std::vector<Bytes> EncodeSectors(const Bytes& image, int part) {
  const auto tracks = zipcode::TracksOfPart(part);
  std::vector<Bytes> sectors;
  for (int track = tracks.first; track <= tracks.last; ++track) {
    for (int sector = 0; sector < zipcode::SectorsOnTrack(track); ++sector) {
      const auto begin =
          image.begin() + static_cast<std::ptrdiff_t>(zipcode::SectorOffset(track, sector));
      const Bytes data(begin, begin + 256);
      const bool filled =
          std::all_of(data.begin(), data.end(), [&](auto b) { return b == data[0]; });
      Bytes block = {static_cast<std::uint8_t>((filled ? 0x40 : 0x00) | track),
                     static_cast<std::uint8_t>(sector)};
      if (filled) {
        block.push_back(data[0]);
      } else {
        block.insert(block.end(), data.begin(), data.end());
      }
      sectors.push_back(std::move(block));
    }
  }
  return sectors;
}

Bytes JoinPart(int part, const std::vector<Bytes>& sectors) {
  Bytes bytes = part == 1 ? Bytes{0xFE, 0x03, '6', '4'} : Bytes{0x00, 0x04};
  for (const auto& s : sectors) bytes.insert(bytes.end(), s.begin(), s.end());
  return bytes;
}

}  // namespace hv::test
