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

constexpr std::uint32_t kHeaderSize = 0x40;
constexpr std::uint32_t kRecordSize = 32;
constexpr std::uint32_t kRecordsPerRead = 256;

std::int32_t BytesToWord(std::uint8_t high, std::uint8_t low) {
  return high * 256 + low;
}

std::string TrimmedText(const std::uint8_t* bytes, std::size_t size) {
  return std::string(TrimSpaces(std::string_view(reinterpret_cast<const char*>(bytes), size)));
}

}  // namespace

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

  signature_ = TrimmedText(header.data(), 0x20);
  version_ = "$" + HexUpper(static_cast<std::uint32_t>(BytesToWord(header[0x21], header[0x20])), 4);
  entries_count_ = BytesToWord(header[0x23], header[0x22]);
  entries_used_ = BytesToWord(header[0x25], header[0x24]);
  tape_image_name_ = TrimmedText(header.data() + 0x28, 24);

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
        entries_->Add(TrimmedText(batch.data() + i * kRecordSize + 0x10, 16));
      }
      done += static_cast<std::int32_t>(count);
      continue;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
      entries_->Add(TrimmedText(batch.data() + i * kRecordSize + 0x10, 16));
    }
    done += static_cast<std::int32_t>(count);
  }
}

}  // namespace hv::tessary
