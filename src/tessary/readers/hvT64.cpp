#include "tessary/readers/hvT64.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/number_format.h"
#include "common/text.h"
#include "platform/binary_file.h"
#include "tessary/readers/load_guard.h"

namespace hv::tessary {
namespace {

// The tape header of 64 bytes: 0x00 signature (32 bytes), 0x20 version, 0x22 directory size
// in entries, 0x24 entries used (16-bit numbers, low byte first), 0x28 tape name (24 bytes).
constexpr std::uint32_t kHeaderSize = 0x40;
constexpr std::size_t kSignature = 0x00;
constexpr std::size_t kSignatureSize = 32;
constexpr std::size_t kVersion = 0x20;
constexpr std::size_t kEntriesCount = 0x22;
constexpr std::size_t kEntriesUsed = 0x24;
constexpr std::size_t kTapeName = 0x28;
constexpr std::size_t kTapeNameSize = 24;

// A directory record of 32 bytes follows the header per entry: 0x00 entry type, 0x01 file
// type, 0x02 start and 0x04 end address, 0x08 offset of the data, 0x10 C64 name (16 bytes).
constexpr std::uint32_t kRecordSize = 32;
constexpr std::size_t kRecordEntryType = 0x00;  // 0 for a free slot
constexpr std::size_t kRecordName = 0x10;
constexpr std::size_t kRecordNameSize = 16;

constexpr std::uint32_t kRecordsPerRead = 256;

std::int32_t BytesToWord(std::uint8_t high, std::uint8_t low) {
  return high * 256 + low;
}

// The little-endian 16-bit number at `at`.
std::int32_t WordAt(const std::uint8_t* bytes, std::size_t at) {
  return BytesToWord(bytes[at + 1], bytes[at]);
}

std::string TrimmedText(const std::uint8_t* bytes, std::size_t size) {
  return std::string(TrimSpaces(std::string_view(reinterpret_cast<const char*>(bytes), size)));
}

std::string RecordName(const std::uint8_t* record) {
  return TrimmedText(record + kRecordName, kRecordNameSize);
}

}  // namespace

std::string T64FirstRecordName(const std::string& path) {
  try {
    auto file = platform::BinaryFile::OpenRead(path);
    if (file.Length() < kHeaderSize + kRecordSize) return {};
    std::array<std::uint8_t, kHeaderSize + kRecordSize> bytes{};
    file.ReadAt(0, bytes);
    const std::uint8_t* record = bytes.data() + kHeaderSize;
    if (WordAt(bytes.data(), kEntriesUsed) != 0 || record[kRecordEntryType] == 0) return {};
    return RecordName(record);
  } catch (const Error&) {
    return {};
  }
}

std::shared_ptr<hvT64Entry> hvT64Entries::Add(const std::string& strC64Filename) {
  auto entry = std::make_shared<hvT64Entry>();
  entry->c64_filename_ = strC64Filename;
  Append(entry);
  return entry;
}

std::shared_ptr<hvT64Entry> hvT64Entries::EntryByKey(const std::string&) const {
  throw Error(vberr::kInvalidProcedureCall);
}

hvT64::hvT64() : entries_(std::make_shared<hvT64Entries>()) {}

bool hvT64::Load(const std::string& strFilename) {
  return GuardedLoad(last_failure_, [&] { LoadOrThrow(strFilename); });
}

void hvT64::LoadOrThrow(const std::string& path) {
  auto file = platform::BinaryFile::OpenRead(path);
  std::array<std::uint8_t, kHeaderSize> header{};
  file.ReadAt(0, header);

  signature_ = TrimmedText(header.data() + kSignature, kSignatureSize);
  version_ = "$" + HexUpper(static_cast<std::uint32_t>(WordAt(header.data(), kVersion)), 4);
  entries_count_ = WordAt(header.data(), kEntriesCount);
  entries_used_ = WordAt(header.data(), kEntriesUsed);
  tape_image_name_ = TrimmedText(header.data() + kTapeName, kTapeNameSize);

  if (entries_used_ > kMaxEntriesUsed) throw Error(vberr::kOverflow);

  // The records are the first EntriesUsed slots in file order, read in batches. When a batch
  // cannot be read, its records are read one at a time so that those before the failing one
  // are still added.
  std::vector<std::uint8_t> batch;
  for (std::int32_t done = 0; done < entries_used_;) {
    const auto count =
        std::min<std::uint32_t>(kRecordsPerRead, static_cast<std::uint32_t>(entries_used_ - done));
    const std::uint64_t offset = kHeaderSize + static_cast<std::uint64_t>(done) * kRecordSize;
    batch.resize(count * kRecordSize);
    try {
      file.ReadAt(offset, batch);
    } catch (const Error&) {
      for (std::uint32_t i = 0; i < count; ++i) {
        file.ReadAt(offset + i * kRecordSize,
                    std::span(batch.data() + i * kRecordSize, kRecordSize));
        entries_->Add(RecordName(batch.data() + i * kRecordSize));
      }
      done += static_cast<std::int32_t>(count);
      continue;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
      entries_->Add(RecordName(batch.data() + i * kRecordSize));
    }
    done += static_cast<std::int32_t>(count);
  }
}

}  // namespace hv::tessary
