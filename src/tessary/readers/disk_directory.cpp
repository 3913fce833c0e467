#include "tessary/readers/disk_directory.h"

#include <algorithm>
#include <bit>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "common/error.h"
#include "platform/binary_file.h"
#include "tessary/readers/gcr.h"

namespace hv::tessary {
namespace {

constexpr std::uint32_t kSectorSize = 256;
constexpr std::uint32_t kEntrySize = 32;
constexpr std::uint32_t kEntriesPerSector = kSectorSize / kEntrySize;

// A directory entry: 0x02 type, 0x05 name (16 bytes), 0x1E-0x1F blocks (low, high).
constexpr std::size_t kEntryType = 0x02;
constexpr std::size_t kEntryName = 0x05;
constexpr std::size_t kNameSize = 16;
constexpr std::size_t kIdSize = 5;
constexpr std::size_t kEntryBlocks = 0x1E;

// Sectors per track of a 1541 (and of each side of a 1571) by speed zone.
int Sectors1541(int track) {
  return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17;
}

struct Geometry {
  int tracks = 0;
  DiskFormat format = DiskFormat::kD64;
  int SectorsOn(int track) const {
    if (track < 1 || track > tracks) return 0;
    switch (format) {
      case DiskFormat::kD81:
        return 40;
      case DiskFormat::kD71:
        return Sectors1541(track > 35 ? track - 35 : track);
      default:
        return Sectors1541(track);
    }
  }
};

[[noreturn]] void NotAnImage(const std::string& why) {
  throw Error(vberr::kInvalidFileFormat, why);
}

// The sectors of an image: flat images by offset, G64 by decoding a track when first asked.
class SectorSource {
 public:
  SectorSource(std::span<const std::uint8_t> image, DiskFormat format) : image_(image) {
    geometry_.format = format;
    switch (format) {
      case DiskFormat::kD64:
        geometry_.tracks = D64Tracks(image.size());
        break;
      case DiskFormat::kD71:
        if (image.size() != 349696 && image.size() != 351062) {
          NotAnImage(SizeText(image.size()) + "; a D71 holds 349696 (or with error bytes 351062)");
        }
        geometry_.tracks = 70;
        break;
      case DiskFormat::kD81:
        if (image.size() != 819200 && image.size() != 822400) {
          NotAnImage(SizeText(image.size()) + "; a D81 holds 819200 (or with error bytes 822400)");
        }
        geometry_.tracks = 80;
        break;
      case DiskFormat::kG64:
        ReadG64Header();
        break;
    }
  }

  const Geometry& geometry() const noexcept { return geometry_; }

  // The sector, or nullptr when it is not on the disk or cannot be read.
  const std::uint8_t* Sector(int track, int sector) {
    if (sector < 0 || sector >= geometry_.SectorsOn(track)) return nullptr;
    if (geometry_.format == DiskFormat::kG64) return G64Sector(track, sector);
    std::uint32_t before = 0;
    for (int t = 1; t < track; ++t) before += static_cast<std::uint32_t>(geometry_.SectorsOn(t));
    return image_.data() + (before + static_cast<std::uint32_t>(sector)) * kSectorSize;
  }

 private:
  static std::string SizeText(std::size_t size) {
    return "it holds " + std::to_string(size) + " bytes";
  }

  static int D64Tracks(std::size_t size) {
    // 683, 768 and 802 sectors, each with or without one error byte per sector.
    for (const auto& [tracks, sectors] : {std::pair{35, 683u}, {40, 768u}, {42, 802u}}) {
      if (size == sectors * kSectorSize || size == sectors * (kSectorSize + 1)) return tracks;
    }
    NotAnImage(SizeText(size) +
               "; a D64 holds 174848 (35 tracks) or 196608 (40 tracks), or those with error bytes");
  }

  // "GCR-1541", version, half-track count, largest track size, then a table of 4-byte offsets
  // of the half tracks (0 for a missing one).
  void ReadG64Header() {
    static constexpr std::string_view kSignature = "GCR-1541";
    if (image_.size() < 12 ||
        !std::equal(kSignature.begin(), kSignature.end(), image_.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; })) {
      NotAnImage("no GCR-1541 signature at its start");
    }
    half_tracks_ = image_[9];
    if (12 + 4u * half_tracks_ > image_.size()) NotAnImage("its track table runs past its end");
    geometry_.tracks = std::min(half_tracks_ / 2, 42);
    if (geometry_.tracks < 18) NotAnImage("it has no track 18");
  }

  const std::uint8_t* G64Sector(int track, int sector) {
    auto [it, fresh] = g64_tracks_.try_emplace(track);
    if (fresh) {
      const std::size_t entry = 12 + 4u * static_cast<std::size_t>((track - 1) * 2);
      const std::uint32_t offset = image_[entry] | image_[entry + 1] << 8 |
                                   image_[entry + 2] << 16 |
                                   static_cast<std::uint32_t>(image_[entry + 3]) << 24;
      if (offset != 0 && offset + 2u <= image_.size() && offset + 2u > offset) {
        const std::size_t length = image_[offset] | image_[offset + 1] << 8;
        const std::size_t end = std::min<std::size_t>(image_.size(), offset + 2u + length);
        it->second = DecodeGcrTrack(image_.subspan(offset + 2u, end - offset - 2u), track,
                                    geometry_.SectorsOn(track));
      }
    }
    const auto& sectors = it->second;
    if (static_cast<std::size_t>(sector) >= sectors.size() || !sectors[sector]) return nullptr;
    return sectors[sector]->data();
  }

  std::span<const std::uint8_t> image_;
  Geometry geometry_;
  int half_tracks_ = 0;
  std::map<int, std::vector<std::optional<tessary::Sector>>> g64_tracks_;
};

std::string Bytes(const std::uint8_t* at, std::size_t count) {
  return std::string(reinterpret_cast<const char*>(at), count);
}

std::string TrackSector(int track, int sector) {
  return "track " + std::to_string(track) + " sector " + std::to_string(sector);
}

// The free blocks the BAM counts, without the directory track (and on a 1571 with the second
// side as its bitmap on track 53 shows it, as cc1541 counts it).
std::uint32_t BlocksFree(SectorSource& source, DiskFormat format, const std::uint8_t* bam) {
  std::uint32_t free = 0;
  if (format == DiskFormat::kD81) {
    for (int half = 0; half < 2; ++half) {
      const std::uint8_t* side = source.Sector(40, 1 + half);
      if (side == nullptr) continue;
      for (int t = 0; t < 40; ++t) {
        if (half * 40 + t + 1 != 40) free += side[0x10 + 6 * t];
      }
    }
    return free;
  }
  for (int t = 1; t <= 35; ++t) {
    if (t != 18) free += bam[4 * t];
  }
  if (format == DiskFormat::kD71) {
    if (const std::uint8_t* map = source.Sector(53, 0)) {
      for (int t = 36; t <= 70; ++t) {
        const std::uint8_t* bits = map + 3 * (t - 36);
        const std::uint32_t mask = (1u << source.geometry().SectorsOn(t)) - 1;
        free += static_cast<std::uint32_t>(std::popcount(
            (bits[0] | bits[1] << 8 | static_cast<std::uint32_t>(bits[2]) << 16) & mask));
      }
    }
  }
  return free;
}

}  // namespace

DiskDirectory ReadDiskDirectory(std::span<const std::uint8_t> image, DiskFormat format) {
  SectorSource source(image, format);
  const bool d81 = format == DiskFormat::kD81;
  const int header_track = d81 ? 40 : 18;
  const std::uint8_t* header = source.Sector(header_track, 0);
  if (header == nullptr)
    NotAnImage("the header sector (" + TrackSector(header_track, 0) + ") cannot be read");

  DiskDirectory dir;
  dir.name = Bytes(header + (d81 ? 0x04 : 0x90), kNameSize);
  dir.id = Bytes(header + (d81 ? 0x16 : 0xA2), kIdSize);
  dir.blocks_free = BlocksFree(source, format, header);

  // The 1541 and 1571 start at 18/1 whatever the header links to; the 1581 follows the link.
  int track = d81 ? header[0] : 18;
  int sector = d81 ? header[1] : 1;
  std::set<std::pair<int, int>> seen;
  while (track != 0) {
    const std::uint8_t* bytes = source.Sector(track, sector);
    if (bytes == nullptr) {
      dir.chain_problem = "the directory chain leads to " + TrackSector(track, sector) +
                          (source.geometry().SectorsOn(track) > sector && sector >= 0
                               ? ", which cannot be read"
                               : ", which is not on the disk");
      break;
    }
    if (!seen.insert({track, sector}).second) {
      dir.chain_problem = "the directory chain comes back to " + TrackSector(track, sector);
      break;
    }
    for (std::uint32_t i = 0; i < kEntriesPerSector; ++i) {
      const std::uint8_t* entry = bytes + i * kEntrySize;
      if (entry[kEntryType] == 0) continue;  // a free slot
      dir.entries.push_back(
          {Bytes(entry + kEntryName, kNameSize), entry[kEntryType],
           static_cast<std::uint16_t>(entry[kEntryBlocks] | entry[kEntryBlocks + 1] << 8)});
    }
    track = bytes[0];
    sector = bytes[1];
  }
  return dir;
}

DiskDirectory ReadDiskDirectoryFile(const std::string& path, DiskFormat format) {
  auto file = platform::BinaryFile::OpenRead(path);
  const std::uint64_t length = file.Length();
  // Larger than any image of these kinds (a G64 of 84 half tracks of 64 KiB at most).
  constexpr std::uint64_t kLargest = 6u << 20;
  if (length > kLargest)
    NotAnImage("it holds " + std::to_string(length) + " bytes, more than any disk image");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  file.ReadAt(0, bytes);
  return ReadDiskDirectory(bytes, format);
}

}  // namespace hv::tessary
