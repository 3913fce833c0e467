#include "tessary/readers/hvD64.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/text.h"
#include "platform/binary_file.h"
#include "tessary/readers/load_guard.h"

namespace hv::tessary {
namespace {

constexpr std::uint32_t kSectorSize = 256;
constexpr std::uint32_t kEntrySize = 32;
constexpr std::uint32_t kBamOffset = 0x16500;     // track 18 sector 0
constexpr std::uint32_t kFirstDirOffset = 0x16600;  // track 18 sector 1
constexpr int kMaxDirSectors = 18;
// Track 18 holds 19 sectors; a normal directory lies wholly inside it, so it is read at once.
constexpr std::uint32_t kTrack18Size = 19 * kSectorSize;

const char* FileTypeText(std::uint8_t type) {
  static constexpr const char* kNames[] = {"DEL", "SEQ", "PRG", "USR", "REL"};
  static constexpr const char* kLocked[] = {"DEL<", "SEQ<", "PRG<", "USR<", "REL<"};
  static constexpr const char* kSplat[] = {nullptr, "*SEQ", "*PRG", "*USR", "*REL"};
  static constexpr const char* kReplace[] = {"@0:DEL", "@0:SEQ", "@0:PRG", "@0:USR", "@0:REL"};
  const unsigned low = type & 0x0Fu;
  if ((type & 0xF0u) == 0x80 && low <= 4) return kNames[low];
  if ((type & 0xF0u) == 0xC0 && low <= 4) return kLocked[low];
  if ((type & 0xF0u) == 0xA0 && low <= 4) return kReplace[low];
  if (type >= 0x01 && type <= 0x04) return kSplat[type];
  return "?";
}

// 16 bytes to 16 characters; 0xA0 (the padding of names) becomes a space.
std::string BytesToText(const std::uint8_t* bytes) {
  std::string text(16, ' ');
  for (int i = 0; i < 16; ++i) {
    if (bytes[i] != 0xA0) text[static_cast<std::size_t>(i)] = static_cast<char>(bytes[i]);
  }
  return text;
}

std::string BlocksText(std::uint32_t blocks) {
  std::string digits = std::to_string(blocks);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), ' ');
  return digits;
}

// Reads the image through a window of bytes read ahead: all of track 18 up front (where a
// normal directory lies wholly), elsewhere the sector being walked. When a read ahead fails,
// the bytes are read exactly as asked, so that whatever precedes the failing read is kept.
class SectorSource {
 public:
  explicit SectorSource(platform::BinaryFile& file) : file_(file) {
    Fill(kBamOffset, kTrack18Size);
  }

  void Read(std::uint32_t offset, std::span<std::uint8_t> out) {
    if (!Holds(offset, out.size())) Fill(offset, kSectorSize);
    if (Holds(offset, out.size())) {
      std::copy_n(window_.begin() + (offset - window_start_), out.size(), out.begin());
    } else {
      file_.ReadAt(offset, out);
    }
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

void AddDirEntry(hvD64Entries& entries, const std::uint8_t* entry) {
  const std::uint8_t type = entry[0x02];
  if (type == 0x00) return;
  const std::string name{TrimTrailingSpaces(BytesToText(entry + 0x05))};
  const std::uint32_t blocks = entry[0x1E] + 256u * entry[0x1F];
  entries.Add(name, BlocksText(blocks), FileTypeText(type));
}

}  // namespace

std::shared_ptr<hvD64Entry> hvD64Entries::Add(const std::string& Filename,
                                              const std::string& FileSize,
                                              const std::string& FileType) {
  auto entry = std::make_shared<hvD64Entry>();
  entry->filename_ = Filename;
  entry->file_size_in_blocks_ = FileSize;
  entry->file_type_ = FileType;
  Append(entry);
  return entry;
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
  sectors.Read(kBamOffset, bam);
  disk_name_ = std::string(TrimTrailingSpaces(BytesToText(bam.data() + 0x90)));
  disk_id_.assign(5, ' ');
  for (std::size_t i = 0; i < 5; ++i) {
    const std::uint8_t b = bam[0xA2 + i];
    if (b != 0xA0 && b != 0x00) disk_id_[i] = static_cast<char>(b);
  }

  // At most 18 sectors, whatever the links say; a sector's link comes from its first entry
  // and is followed only after all eight entries were read.
  std::uint32_t offset = kFirstDirOffset;
  std::array<std::uint8_t, kEntrySize> entry{};
  for (int n = 0; n < kMaxDirSectors; ++n) {
    std::uint8_t next_track = 0;
    std::uint8_t next_sector = 0;
    for (std::uint32_t i = 0; i < 8; ++i) {
      sectors.Read(offset + kEntrySize * i, entry);
      if (i == 0) {
        next_track = entry[0x00];
        next_sector = entry[0x01];
      }
      AddDirEntry(*entries_, entry.data());
    }
    if (next_track == 0) break;
    offset = TrackSectorOffset(next_track, next_sector);
  }
}

}  // namespace hv::tessary
