#pragma once
// Synthesized D64 and T64 images for exact corner cases: every byte the readers look at is
// placed by hand, the rest stays zero.

#include <cstdint>
#include <string>
#include <vector>

#include "support/bytes.h"

namespace hv::test {

// Bytes from a text, one byte per character (NULs and 0xA0 included).
Bytes Raw(const std::string& text);

// A 16-byte name field: the text, then 0xA0 padding.
Bytes PaddedName(const std::string& text, std::uint8_t pad = 0xA0);

struct DirEntry {
  std::uint8_t type = 0x82;
  Bytes name;  // up to 16 bytes, written at entry offset 0x05
  std::uint16_t blocks = 1;
};

class D64Builder {
 public:
  static constexpr std::size_t kStandardSize = 174848;  // 35 tracks
  static constexpr std::size_t kBam = 0x16500;

  explicit D64Builder(std::size_t size = kStandardSize);

  // Byte offset of a track and sector, counted from the geometry of a 1541 disk.
  static std::size_t Offset(int track, int sector);

  D64Builder& DiskName(const Bytes& field16);
  D64Builder& DiskIdBytes(const Bytes& five);
  // Writes the eight entries of one directory sector at an offset; the link goes into the
  // first entry (bytes 0 and 1). Missing entries stay zero (type 0x00).
  D64Builder& Sector(std::size_t offset, std::uint8_t next_track, std::uint8_t next_sector,
                     const std::vector<DirEntry>& entries);
  // Spreads entries over track 18 sectors in the given order, eight per sector, linked in
  // that order, the last one with track 0.
  D64Builder& Directory(const std::vector<DirEntry>& entries, const std::vector<int>& sectors);

  const Bytes& bytes() const noexcept { return bytes_; }
  Bytes& bytes() noexcept { return bytes_; }

 private:
  Bytes bytes_;
};

struct T64Header {
  Bytes signature = Raw(std::string("C64 tape image file") + std::string(13, '\0'));
  std::uint8_t version_low = 0x00;
  std::uint8_t version_high = 0x01;
  std::uint16_t entries_count = 30;
  std::uint16_t entries_used = 0;
  Bytes name = Raw("GAMES                   ");  // up to 24 bytes
};

// A T64 image: the 64-byte header, then one 32-byte record per name (name at 0x10).
Bytes MakeT64(const T64Header& header, const std::vector<Bytes>& record_names);

}  // namespace hv::test
