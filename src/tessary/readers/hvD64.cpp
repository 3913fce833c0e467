#include "tessary/readers/hvD64.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "common/text.h"
#include "platform/binary_file.h"
#include "tessary/readers/load_guard.h"

namespace hv::tessary {
namespace {

constexpr std::uint32_t kSectorSize = 256;
constexpr std::uint32_t kEntrySize = 32;
constexpr std::uint32_t kBamOffset = 0x16500;       // track 18 sector 0
constexpr std::uint32_t kFirstDirOffset = 0x16600;  // track 18 sector 1
constexpr int kMaxDirSectors = 18;
// Track 18 holds 19 sectors; a normal directory lies wholly inside it, so it is read at once.
constexpr std::uint32_t kTrack18Size = 19 * kSectorSize;

std::string_view FileTypeText(std::uint8_t type) {
  using namespace std::string_view_literals;
  static constexpr std::string_view kNames[] = {"DEL"sv, "SEQ"sv, "PRG"sv, "USR"sv, "REL"sv};
  static constexpr std::string_view kLocked[] = {"DEL<"sv, "SEQ<"sv, "PRG<"sv, "USR<"sv, "REL<"sv};
  static constexpr std::string_view kSplat[] = {{}, "*SEQ"sv, "*PRG"sv, "*USR"sv, "*REL"sv};
  static constexpr std::string_view kReplace[] = {"@0:DEL"sv, "@0:SEQ"sv, "@0:PRG"sv, "@0:USR"sv,
                                                  "@0:REL"sv};
  const unsigned low = type & 0x0Fu;
  if ((type & 0xF0u) == 0x80 && low <= 4) return kNames[low];
  if ((type & 0xF0u) == 0xC0 && low <= 4) return kLocked[low];
  if ((type & 0xF0u) == 0xA0 && low <= 4) return kReplace[low];
  if (type >= 0x01 && type <= 0x04) return kSplat[type];
  return "?"sv;
}

// The size text: the decimal digits padded on the left with spaces to five characters.
std::string_view BlocksText(std::uint32_t blocks, std::array<char, 5>& out) {
  out.fill(' ');
  std::size_t at = out.size();
  do {
    out[--at] = static_cast<char>('0' + blocks % 10);
    blocks /= 10;
  } while (blocks != 0 && at > 0);
  return {out.data(), out.size()};
}

// 16 bytes to 16 characters, written into `out`; 0xA0 (the padding of names) becomes a space.
std::string_view BytesToText(const std::uint8_t* bytes, std::array<char, 16>& out) {
  for (std::size_t i = 0; i < 16; ++i)
    out[i] = bytes[i] == 0xA0 ? ' ' : static_cast<char>(bytes[i]);
  return {out.data(), out.size()};
}

// A name field as BytesToText gives it, without its trailing spaces.
std::string_view NameText(const std::uint8_t* bytes, std::array<char, 16>& out) {
  std::string_view text = BytesToText(bytes, out);
  std::size_t size = text.size();
  while (size > 0 && text[size - 1] == ' ') --size;
  return text.substr(0, size);
}

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
  // Decodes an entry; a type byte of 0x00 marks a free slot, which is not added.
  void AddDirEntry(const std::uint8_t* entry) {
    const std::uint8_t type = entry[0x02];
    if (type == 0x00) return;
    Slot& slot = slots_[count_];
    std::copy(entry + 0x05, entry + 0x15, slot.raw_name.begin());
    texts_[count_] = {NameText(entry + 0x05, slot.name),
                      BlocksText(entry[0x1E] + 256u * entry[0x1F], slot.blocks),
                      FileTypeText(type),
                      {slot.raw_name.data(), slot.raw_name.size()},
                      type};
    ++count_;
  }

  const D64EntryTexts* data() const noexcept { return texts_.data(); }
  std::size_t size() const noexcept { return count_; }

 private:
  struct Slot {
    std::array<char, 16> name;
    std::array<char, 5> blocks;
    std::array<char, 16> raw_name;
  };
  // The walk examines at most 18 sectors of eight entries.
  std::array<Slot, kMaxDirSectors * 8> slots_;
  std::array<D64EntryTexts, kMaxDirSectors * 8> texts_;
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
  std::array<char, 16> name{};
  disk_name_ = std::string(NameText(bam_bytes + 0x90, name));
  disk_id_.assign(5, ' ');
  for (std::size_t i = 0; i < 5; ++i) {
    const std::uint8_t b = bam_bytes[0xA2 + i];
    if (b != 0xA0 && b != 0x00) disk_id_[i] = static_cast<char>(b);
  }

  // At most 18 sectors, whatever the links say; a sector's link comes from its first entry
  // and is followed only after all eight entries were read.
  std::uint32_t offset = kFirstDirOffset;
  std::array<std::uint8_t, kEntrySize> entry{};
  DecodedEntries decoded;
  for (int n = 0; n < kMaxDirSectors; ++n) {
    std::uint8_t next_track = 0;
    std::uint8_t next_sector = 0;
    try {
      for (std::uint32_t i = 0; i < 8; ++i) {
        const std::uint8_t* bytes = sectors.Read(offset + kEntrySize * i, entry);
        if (i == 0) {
          next_track = bytes[0x00];
          next_sector = bytes[0x01];
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
