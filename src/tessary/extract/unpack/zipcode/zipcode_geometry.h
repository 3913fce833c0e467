#pragma once
// The 1541 disk as a D64 image holds it, and how a zipcode set splits it: parts 1! to 4!
// hold tracks 1-8, 9-16, 17-25 and 26-35; a fifth part 5! tracks 36-40 of a 40-track disk.

#include <cstdint>

namespace hv::zipcode {

inline constexpr std::uint64_t kSectorBytes = 256;
inline constexpr int kTracks35 = 35;
inline constexpr int kTracks40 = 40;
inline constexpr int kPartsOf35 = 4;
inline constexpr int kPartsOf40 = 5;

// Sectors on a track (1 to 40); 0 for any other number.
constexpr int SectorsOnTrack(int track) {
  if (track < 1 || track > kTracks40) return 0;
  if (track <= 17) return 21;
  if (track <= 24) return 19;
  if (track <= 30) return 18;
  return 17;
}

// The sector's first byte in the image.
constexpr std::uint64_t SectorOffset(int track, int sector) {
  std::uint64_t sectors = 0;
  for (int t = 1; t < track; ++t) sectors += static_cast<std::uint64_t>(SectorsOnTrack(t));
  return (sectors + static_cast<std::uint64_t>(sector)) * kSectorBytes;
}

constexpr std::uint64_t ImageBytes(int tracks) {
  return SectorOffset(tracks + 1, 0);
}
static_assert(ImageBytes(kTracks35) == 174848 && ImageBytes(kTracks40) == 196608);

struct PartTracks {
  int first, last;
};

// Part 1 to 5.
constexpr PartTracks TracksOfPart(int part) {
  constexpr PartTracks kParts[] = {{1, 8}, {9, 16}, {17, 25}, {26, 35}, {36, 40}};
  return kParts[part - 1];
}

}  // namespace hv::zipcode
