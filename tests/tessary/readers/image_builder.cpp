#include "tessary/readers/image_builder.h"

#include <algorithm>
#include <stdexcept>

namespace hv::test {
namespace {

void PutBytes(Bytes& bytes, std::size_t offset, const Bytes& data) {
  if (bytes.size() < offset + data.size()) bytes.resize(offset + data.size());
  std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

Bytes Raw(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes PaddedName(const std::string& text, std::uint8_t pad) {
  Bytes field = Raw(text);
  field.resize(16, pad);
  return field;
}

D64Builder::D64Builder(std::size_t size) : bytes_(size, 0) {}

std::size_t D64Builder::Offset(int track, int sector) {
  std::size_t sectors = 0;
  for (int t = 1; t < track; ++t) sectors += t < 18 ? 21 : t < 25 ? 19 : t < 31 ? 18 : 17;
  return 256 * (sectors + static_cast<std::size_t>(sector));
}

D64Builder& D64Builder::DiskName(const Bytes& field16) {
  PutBytes(bytes_, kBam + 0x90, field16);
  return *this;
}

D64Builder& D64Builder::DiskIdBytes(const Bytes& five) {
  PutBytes(bytes_, kBam + 0xA2, five);
  return *this;
}

D64Builder& D64Builder::Sector(std::size_t offset, std::uint8_t next_track,
                               std::uint8_t next_sector, const std::vector<DirEntry>& entries) {
  if (entries.size() > 8) throw std::logic_error("a directory sector holds eight entries");
  Bytes sector(256, 0);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t at = 32 * i;
    sector[at + 0x02] = entries[i].type;
    std::copy(entries[i].name.begin(), entries[i].name.end(),
              sector.begin() + static_cast<std::ptrdiff_t>(at + 0x05));
    sector[at + 0x1E] = static_cast<std::uint8_t>(entries[i].blocks & 0xFF);
    sector[at + 0x1F] = static_cast<std::uint8_t>(entries[i].blocks >> 8);
  }
  sector[0] = next_track;
  sector[1] = next_sector;
  PutBytes(bytes_, offset, sector);
  return *this;
}

D64Builder& D64Builder::Directory(const std::vector<DirEntry>& entries,
                                  const std::vector<int>& sectors) {
  for (std::size_t n = 0; n < sectors.size(); ++n) {
    const auto first = std::min(entries.size(), 8 * n);
    const auto last = std::min(entries.size(), 8 * n + 8);
    const bool final = n + 1 == sectors.size();
    Sector(Offset(18, sectors[n]), final ? 0 : 18,
           static_cast<std::uint8_t>(final ? 0xFF : sectors[n + 1]),
           std::vector<DirEntry>(entries.begin() + static_cast<std::ptrdiff_t>(first),
                                 entries.begin() + static_cast<std::ptrdiff_t>(last)));
  }
  return *this;
}

Bytes MakeT64(const T64Header& header, const std::vector<Bytes>& record_names) {
  Bytes bytes(0x40 + 32 * record_names.size(), 0);
  PutBytes(bytes, 0x00, header.signature);
  bytes[0x20] = header.version_low;
  bytes[0x21] = header.version_high;
  bytes[0x22] = static_cast<std::uint8_t>(header.entries_count & 0xFF);
  bytes[0x23] = static_cast<std::uint8_t>(header.entries_count >> 8);
  bytes[0x24] = static_cast<std::uint8_t>(header.entries_used & 0xFF);
  bytes[0x25] = static_cast<std::uint8_t>(header.entries_used >> 8);
  PutBytes(bytes, 0x28, header.name);
  for (std::size_t i = 0; i < record_names.size(); ++i) {
    const std::size_t at = 0x40 + 32 * i;
    bytes[at] = 1;         // normal tape file
    bytes[at + 1] = 0x82;  // PRG
    PutBytes(bytes, at + 0x10, record_names[i]);
  }
  return bytes;
}

}  // namespace hv::test
