#include "tessary/extract/unpack/zipcode/zipcode_part.h"

#include <algorithm>
#include <array>
#include <vector>

#include "tessary/extract/unpack/zipcode/zipcode_error.h"
#include "tessary/extract/unpack/zipcode/zipcode_geometry.h"

namespace hv::zipcode {
namespace {

constexpr int kMethodStored = 0;
constexpr int kMethodFill = 1;
constexpr int kMethodRunLength = 2;

// Part 1 carries the disk's two-byte sector ID after its load address.
constexpr std::size_t HeaderBytes(int part) {
  return part == 1 ? 4 : 2;
}

class PartReader {
 public:
  PartReader(std::span<const std::uint8_t> bytes, const std::string& name)
      : bytes_(bytes), name_(name) {}

  // The next `count` bytes; running out is a truncated part.
  std::span<const std::uint8_t> Take(std::size_t count, const char* what) {
    if (count > bytes_.size() - at_) ThrowBadSet(name_ + " is truncated in " + what);
    const auto taken = bytes_.subspan(at_, count);
    at_ += count;
    return taken;
  }
  void Skip(std::size_t count) { Take(count, "its header"); }

 private:
  std::span<const std::uint8_t> bytes_;
  const std::string& name_;
  std::size_t at_ = 0;
};

// Run-length data: literal bytes, and escape-code runs of (escape, count, byte).
void DecodeRunLength(std::span<const std::uint8_t> coded, std::uint8_t escape,
                     std::span<std::uint8_t> sector, const std::string& where) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < coded.size();) {
    std::size_t run = 1;
    std::uint8_t value = coded[i];
    if (value == escape) {
      if (coded.size() - i < 3) ThrowBadSet(where + ": run cut short");
      run = coded[i + 1];
      value = coded[i + 2];
      i += 3;
    } else {
      ++i;
    }
    if (run > sector.size() - out) ThrowBadSet(where + ": runs overflow the sector");
    std::fill_n(sector.begin() + static_cast<std::ptrdiff_t>(out), run, value);
    out += run;
  }
  if (out != sector.size()) ThrowBadSet(where + ": runs fill only part of the sector");
}

}  // namespace

void DecodePart(std::span<const std::uint8_t> bytes, int part, const std::string& part_name,
                std::span<std::uint8_t> image) {
  const PartTracks tracks = TracksOfPart(part);
  // Sector indexes within the image; the image is at most 196,608 bytes.
  const auto index_of = [](int track, int sector) {
    return static_cast<std::size_t>(SectorOffset(track, sector) / kSectorBytes);
  };
  if (image.size() / kSectorBytes < index_of(tracks.last + 1, 0)) ThrowBadSet("image too small");
  std::vector<bool> seen(index_of(tracks.last + 1, 0));
  const std::size_t needed = seen.size() - index_of(tracks.first, 0);

  PartReader reader(bytes, part_name);
  reader.Skip(HeaderBytes(part));
  for (std::size_t decoded = 0; decoded < needed; ++decoded) {
    const auto head = reader.Take(2, "a sector header");
    const int method = head[0] >> 6;
    const int track = head[0] & 0x3F;
    const int sector = head[1];
    const std::string where =
        part_name + " track " + std::to_string(track) + " sector " + std::to_string(sector);
    if (track < tracks.first || track > tracks.last || sector >= SectorsOnTrack(track)) {
      ThrowBadSet(where + " lies outside the part");
    }
    const std::size_t index = index_of(track, sector);
    if (seen[index]) ThrowBadSet(where + " appears twice");
    seen[index] = true;
    const auto target = image.subspan(index * kSectorBytes, kSectorBytes);
    switch (method) {
      case kMethodStored: {
        const auto data = reader.Take(kSectorBytes, "a stored sector");
        std::copy(data.begin(), data.end(), target.begin());
        break;
      }
      case kMethodFill:
        std::fill(target.begin(), target.end(), reader.Take(1, "a filled sector")[0]);
        break;
      case kMethodRunLength: {
        const auto counts = reader.Take(2, "a packed sector");
        DecodeRunLength(reader.Take(counts[0], "a packed sector"), counts[1], target, where);
        break;
      }
      default:
        ThrowBadSet(where + " uses an unknown method");
    }
  }
}

}  // namespace hv::zipcode
