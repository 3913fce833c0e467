#include "tessary/readers/hvD64.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "common/text.h"
#include "platform/binary_file.h"
#include "tessary/readers/dir_entry_text.h"
#include "tessary/readers/load_guard.h"

namespace hv::tessary {
namespace {

constexpr std::uint32_t kSectorSize = 256;
constexpr std::uint32_t kEntrySize = 32;
constexpr std::uint32_t kBamOffset = 0x16500;       // track 18 sector 0
constexpr std::uint32_t kFirstDirOffset = 0x16600;  // track 18 sector 1
constexpr int kMaxDirSectors = 18;
constexpr std::uint32_t kEntriesPerSector = kSectorSize / kEntrySize;
// Track 18 holds 19 sectors; a normal directory lies wholly inside it, so it is read at once.
constexpr std::uint32_t kTrack18Size = 19 * kSectorSize;

// The BAM sector: 0x00 link, 0x04 block map, 0x90 disk name (16 bytes, padded with 0xA0),
// 0xA2 disk ID (2 bytes), a shifted space and the DOS type (2 bytes), read as one 5-byte ID.
constexpr std::size_t kBamDiskName = 0x90;
constexpr std::size_t kBamDiskId = 0xA2;
constexpr std::size_t kDiskIdSize = 5;

// A directory entry of 32 bytes: 0x00-0x01 the sector's link (first entry only), 0x02 file
// type, 0x03-0x04 first track and sector, 0x05 name (16 bytes, padded with 0xA0), 0x15-0x1D
// side sectors, record length and GEOS bytes, 0x1E-0x1F size in blocks (low, high).
constexpr std::size_t kEntryLinkTrack = 0x00;
constexpr std::size_t kEntryLinkSector = 0x01;
constexpr std::size_t kEntryType = 0x02;
constexpr std::size_t kEntryName = 0x05;
constexpr std::size_t kNameSize = kDirNameSize;
constexpr std::size_t kEntryBlocksLow = 0x1E;
constexpr std::size_t kEntryBlocksHigh = 0x1F;
constexpr std::uint8_t kFreeSlot = 0x00;

// Reads the image through a window of bytes read ahead: all of track 18 up front (where a
// normal directory lies wholly), elsewhere the sector being walked. When a read ahead fails,
// the bytes are read exactly as asked, so that whatever precedes the failing read is kept.
class SectorSource {
 public:
  explicit SectorSource(platform::BinaryFile& file) : file_(file) {
    Fill(kBamOffset, kTrack18Size);
  }

  // The bytes at `offset`: in the window where it holds them, else read into `out`.
  const std::uint8_t* Read(std::uint32_t offset, std::span<std::uint8_t> out) {
    if (!Holds(offset, out.size())) Fill(offset, kSectorSize);
    if (Holds(offset, out.size())) return window_.data() + (offset - window_start_);
    file_.ReadAt(offset, out);
    return out.data();
  }

 private:
  bool Holds(std::uint32_t offset, std::size_t size) const noexcept {
    return offset >= window_start_ && offset - window_start_ + size <= window_size_;
  }

  void Fill(std::uint32_t offset, std::uint32_t size) noexcept {
    window_size_ = 0;
    try {
      file_.ReadAt(offset, std::span(window_.data(), size));
      window_start_ = offset;
      window_size_ = size;
    } catch (const Error&) {
      // Left to the exact read that follows.
    }
  }

  platform::BinaryFile& file_;
  std::array<std::uint8_t, kTrack18Size> window_{};
  std::uint32_t window_start_ = 0;
  std::uint32_t window_size_ = 0;
};

// The texts of the entries decoded so far, held until they are added together.
class DecodedEntries {
 public:
  // Decodes an entry; a free slot (type byte 0x00) is not added.
  void AddDirEntry(const std::uint8_t* entry) {
    const std::uint8_t type = entry[kEntryType];
    if (type == kFreeSlot) return;
    Slot& slot = slots_[count_];
    std::copy(entry + kEntryName, entry + kEntryName + kNameSize, slot.raw_name.begin());
    texts_[count_] = {
        NameText(entry + kEntryName, slot.name),
        BlocksText(entry[kEntryBlocksLow] + 256u * entry[kEntryBlocksHigh], slot.blocks),
        FileTypeText(type),
        {slot.raw_name.data(), slot.raw_name.size()},
        type};
    ++count_;
  }

  const D64EntryTexts* data() const noexcept { return texts_.data(); }
  std::size_t size() const noexcept { return count_; }

 private:
  struct Slot {
    std::array<char, kNameSize> name;
    std::array<char, 5> blocks;
    std::array<char, kNameSize> raw_name;
  };
  // The walk examines at most 18 sectors of eight entries.
  std::array<Slot, kMaxDirSectors * kEntriesPerSector> slots_;
  std::array<D64EntryTexts, kMaxDirSectors * kEntriesPerSector> texts_;
  std::size_t count_ = 0;
};

}  // namespace

std::shared_ptr<hvD64Entry> hvD64Entries::Add(const std::string& Filename,
                                              const std::string& FileSize,
                                              const std::string& FileType) {
  auto entry = std::make_shared<hvD64Entry>(hvD64Entry::Key{}, Filename, FileSize, FileType);
  Append(entry);
  return entry;
}

void hvD64Entries::AddDecoded(const D64EntryTexts* texts, std::size_t count) {
  if (count == 0) return;
  auto block = std::make_shared<std::vector<hvD64Entry>>();
  block->reserve(count);  // never reallocated afterwards: the entries stay where they are
  Reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    hvD64Entry& entry = block->emplace_back(hvD64Entry::Key{}, texts[i]);
    Append(std::shared_ptr<hvD64Entry>(block, &entry));
  }
}

hvD64::hvD64() : entries_(std::make_shared<hvD64Entries>()) {}

std::uint32_t hvD64::TrackSectorOffset(std::uint8_t track, std::uint8_t sector) noexcept {
  if (track == 0 || track > 40) return 0;
  std::uint32_t sectors_before = 0;
  for (std::uint32_t t = 1; t < track; ++t) {
    sectors_before += t <= 17 ? 21 : t <= 24 ? 19 : t <= 30 ? 18 : 17;
  }
  return kSectorSize * (sectors_before + sector);
}

bool hvD64::Load(const std::string& strFilename) {
  return GuardedLoad(last_failure_, [&] { LoadOrThrow(strFilename); });
}

void hvD64::LoadOrThrow(const std::string& path) {
  auto file = platform::BinaryFile::OpenRead(path);
  SectorSource sectors(file);

  std::array<std::uint8_t, kSectorSize> bam{};
  const std::uint8_t* bam_bytes = sectors.Read(kBamOffset, bam);
  std::array<char, kNameSize> name{};
  disk_name_ = std::string(NameText(bam_bytes + kBamDiskName, name));
  std::array<char, kDiskIdSize> id{};
  IdText(bam_bytes + kBamDiskId, id);
  disk_id_.assign(id.data(), id.size());

  // At most 18 sectors, whatever the links say; a sector's link comes from its first entry
  // and is followed only after all eight entries were read.
  std::uint32_t offset = kFirstDirOffset;
  std::array<std::uint8_t, kEntrySize> entry{};
  DecodedEntries decoded;
  for (int n = 0; n < kMaxDirSectors; ++n) {
    std::uint8_t next_track = 0;
    std::uint8_t next_sector = 0;
    try {
      for (std::uint32_t i = 0; i < kEntriesPerSector; ++i) {
        const std::uint8_t* bytes = sectors.Read(offset + kEntrySize * i, entry);
        if (i == 0) {
          next_track = bytes[kEntryLinkTrack];
          next_sector = bytes[kEntryLinkSector];
        }
        decoded.AddDirEntry(bytes);
      }
    } catch (...) {
      entries_->AddDecoded(decoded.data(), decoded.size());  // what was read before stays
      throw;
    }
    if (next_track == 0) break;
    offset = TrackSectorOffset(next_track, next_sector);
  }
  entries_->AddDecoded(decoded.data(), decoded.size());
}

}  // namespace hv::tessary
