#include "tessary/extract/unpack/zip/zip_directory.h"

#include <algorithm>
#include <array>
#include <vector>

#include "tessary/extract/unpack/zip/zip_bytes.h"
#include "tessary/extract/unpack/zip/zip_limits.h"
#include "tessary/extract/unpack/zip/zip_names.h"

namespace hv::zip {
namespace {

// Every number is little-endian. The end record (22 bytes): 0 signature, 4 this disk's number,
// 6 the disk the directory starts on, 8 entries on this disk, 10 entries in all, 12 directory
// size, 16 directory offset, 20 comment length, 22 the comment.
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::array<std::uint8_t, 4> kEndSignatureBytes = {0x50, 0x4b, 0x05, 0x06};  // as stored
constexpr auto kEndSize = static_cast<std::size_t>(kZipEndRecordSize);
constexpr std::size_t kEndDisk = 4;
constexpr std::size_t kEndDirectoryDisk = 6;
constexpr std::size_t kEndDiskEntries = 8;
constexpr std::size_t kEndEntries = 10;
constexpr std::size_t kEndDirectorySize = 12;
constexpr std::size_t kEndDirectoryOffset = 16;
constexpr std::size_t kEndCommentLength = 20;

// The zip64 end locator (20 bytes), right before the end record: 0 signature, 4 the disk of
// the zip64 end record, 8 its offset (64 bits), 16 the number of disks.
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint64_t kZip64LocatorSize = 20;
constexpr std::size_t kLocatorEndDisk = 4;
constexpr std::size_t kLocatorEndOffset = 8;
constexpr std::size_t kLocatorDisks = 16;

// The zip64 end record (56 bytes and an extensible part): 0 signature, 4 record size, 12 and
// 14 versions, 16 this disk's number, 20 the disk the directory starts on, then 64-bit numbers:
// 24 entries on this disk, 32 entries in all, 40 directory size, 48 directory offset.
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint64_t kZip64EndMinSize = 56;
constexpr std::size_t kZip64EndDisk = 16;
constexpr std::size_t kZip64EndDirectoryDisk = 20;
constexpr std::size_t kZip64EndDiskEntries = 24;
constexpr std::size_t kZip64EndEntries = 32;
constexpr std::size_t kZip64EndDirectorySize = 40;
constexpr std::size_t kZip64EndDirectoryOffset = 48;

// A central directory header (46 bytes): 0 signature, 4 and 6 versions, 8 flags, 10 method,
// 12 time, 14 date, 16 CRC-32, 20 compressed and 24 uncompressed size, 28 name, 30 extra and
// 32 comment length, 34 the disk the entry starts on, 36 and 38 attributes, 42 the offset of
// the local header, 46 the name, the extra field and the comment.
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kCentralFlags = 8;
constexpr std::size_t kCentralMethod = 10;
constexpr std::size_t kCentralTime = 12;
constexpr std::size_t kCentralDate = 14;
constexpr std::size_t kCentralCrc = 16;
constexpr std::size_t kCentralCompressedSize = 20;
constexpr std::size_t kCentralUncompressedSize = 24;
constexpr std::size_t kCentralNameLength = 28;
constexpr std::size_t kCentralExtraLength = 30;
constexpr std::size_t kCentralCommentLength = 32;
constexpr std::size_t kCentralDisk = 34;
constexpr std::size_t kCentralLocalOffset = 42;

// An extra field is a run of blocks: 0 id, 2 data size, 4 the data. The zip64 block holds, in
// this order, the 64-bit values of those 32-bit fields that hold their largest value.
constexpr std::size_t kExtraBlockDataSize = 2;
constexpr std::size_t kExtraBlockHeaderSize = 4;
constexpr std::uint16_t kZip64ExtraId = 0x0001;
constexpr std::uint32_t kZip64Marker32 = 0xFFFFFFFFu;
constexpr std::uint16_t kZip64Marker16 = 0xFFFF;

struct EndInfo {
  std::uint64_t entries = 0;
  std::uint64_t central_size = 0;
  std::uint64_t central_offset = 0;
  std::uint64_t records_start = 0;  // where the end records begin: the directory ends here
};

std::vector<std::uint8_t> ReadRange(platform::BinaryFile& file, std::uint64_t offset,
                                    std::uint64_t size) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  file.ReadAt(offset, bytes);
  return bytes;
}

// The zip64 end record named by the locator just before the classic end record.
bool ReadZip64End(platform::BinaryFile& file, std::uint64_t end_pos, EndInfo& info) {
  if (end_pos < kZip64LocatorSize) return false;
  const std::uint64_t locator_pos = end_pos - kZip64LocatorSize;
  const auto locator_bytes = ReadRange(file, locator_pos, kZip64LocatorSize);
  const FieldReader locator(locator_bytes, "zip64 end locator");
  if (locator.U32(0) != kZip64LocatorSignature) return false;
  const std::uint64_t record_pos = locator.U64(kLocatorEndOffset);
  if (locator.U32(kLocatorEndDisk) != 0 || locator.U32(kLocatorDisks) > 1) {
    ThrowBadZip("archives on several disks");
  }
  if (!FitsWithin(record_pos, kZip64EndMinSize, locator_pos)) {
    ThrowBadZip("zip64 end record outside the file");
  }
  const auto record_bytes = ReadRange(file, record_pos, kZip64EndMinSize);
  const FieldReader record(record_bytes, "zip64 end record");
  if (record.U32(0) != kZip64EndSignature) ThrowBadZip("bad zip64 end record signature");
  if (record.U32(kZip64EndDisk) != 0 || record.U32(kZip64EndDirectoryDisk) != 0) {
    ThrowBadZip("archives on several disks");
  }
  if (record.U64(kZip64EndDiskEntries) != record.U64(kZip64EndEntries)) {
    ThrowBadZip("archives on several disks");
  }
  info.entries = record.U64(kZip64EndEntries);
  info.central_size = record.U64(kZip64EndDirectorySize);
  info.central_offset = record.U64(kZip64EndDirectoryOffset);
  info.records_start = record_pos;
  return true;
}

EndInfo FindEnd(platform::BinaryFile& file, std::uint64_t file_size) {
  if (file_size < kZipEndRecordSize) ThrowBadZip("file too short for a zip archive");
  const std::uint64_t tail_size = std::min(file_size, kZipEndSearchBytes);
  const std::uint64_t tail_pos = file_size - tail_size;
  const auto tail = ReadRange(file, tail_pos, tail_size);
  // The last end record whose comment fits in the file wins.
  for (std::size_t at = tail.size() - kEndSize + 1; at-- > 0;) {
    if (!std::equal(kEndSignatureBytes.begin(), kEndSignatureBytes.end(), tail.begin() + at)) {
      continue;
    }
    const FieldReader end(std::span<const std::uint8_t>(tail).subspan(at, kEndSize), "end record");
    if (end.U32(0) != kEndSignature) continue;
    if (!FitsWithin(at + kZipEndRecordSize, end.U16(kEndCommentLength), tail.size())) continue;
    const std::uint64_t end_pos = tail_pos + at;
    EndInfo info;
    if (!ReadZip64End(file, end_pos, info)) {
      if (end.U16(kEndDisk) != 0 || end.U16(kEndDirectoryDisk) != 0 ||
          end.U16(kEndDiskEntries) != end.U16(kEndEntries)) {
        ThrowBadZip("archives on several disks");
      }
      info.entries = end.U16(kEndEntries);
      info.central_size = end.U32(kEndDirectorySize);
      info.central_offset = end.U32(kEndDirectoryOffset);
      info.records_start = end_pos;
    }
    return info;
  }
  ThrowBadZip("no end-of-central-directory record");
}

// Replaces the 32-bit fields that hold 0xFFFFFFFF by the values of the zip64 extra field.
void ApplyZip64Extra(const FieldReader& extra, ZipEntry& entry, bool need_usize, bool need_csize,
                     bool need_offset) {
  std::size_t at = 0;
  while (at + kExtraBlockHeaderSize <= extra.size()) {
    const std::uint16_t id = extra.U16(at);
    const std::uint16_t size = extra.U16(at + kExtraBlockDataSize);
    const FieldReader field(extra.Sub(at + kExtraBlockHeaderSize, size), "zip64 extra field");
    if (id == kZip64ExtraId) {
      std::size_t pos = 0;
      if (need_usize) entry.uncompressed_size = field.U64(pos), pos += 8;
      if (need_csize) entry.compressed_size = field.U64(pos), pos += 8;
      if (need_offset) entry.local_offset = field.U64(pos);
      return;
    }
    at += kExtraBlockHeaderSize + size;
  }
  if (need_usize || need_csize || need_offset) ThrowBadZip("missing zip64 extra field");
}

bool HasSignatureAt(platform::BinaryFile& file, std::uint64_t offset, std::uint32_t signature) {
  const auto bytes = ReadRange(file, offset, 4);
  return FieldReader(bytes, "signature").U32(0) == signature;
}

// Bytes put in front of the archive (a self-extractor stub, a mail header) shift every
// offset: the directory then ends right before the end records, not where they say.
std::uint64_t PrefixBytes(platform::BinaryFile& file, const EndInfo& end) {
  const std::uint64_t actual = end.records_start - end.central_size;  // fits: checked above
  if (actual == end.central_offset || end.entries == 0) return 0;
  if (HasSignatureAt(file, end.central_offset, kCentralSignature)) return 0;
  if (!HasSignatureAt(file, actual, kCentralSignature)) return 0;
  return actual - end.central_offset;
}

}  // namespace

ZipDirectory ReadZipDirectory(platform::BinaryFile& file) {
  ZipDirectory dir;
  dir.file_size = file.Length();
  const EndInfo end = FindEnd(file, dir.file_size);
  if (end.entries > kZipMaxEntries) ThrowBadZip("too many entries");
  if (end.central_size > kZipMaxCentralDirectoryBytes) ThrowBadZip("central directory too large");
  if (!FitsWithin(end.central_offset, end.central_size, end.records_start)) {
    ThrowBadZip("central directory outside the file");
  }
  if (end.entries > end.central_size / kCentralHeaderSize) {
    ThrowBadZip("central directory shorter than its entry count");
  }
  const std::uint64_t bias = PrefixBytes(file, end);
  dir.central_offset = end.central_offset + bias;
  const auto central = ReadRange(file, dir.central_offset, end.central_size);
  const FieldReader cd(central, "central directory");
  std::size_t at = 0;
  dir.entries.reserve(static_cast<std::size_t>(end.entries));
  for (std::uint64_t i = 0; i < end.entries; ++i) {
    if (cd.U32(at) != kCentralSignature) ThrowBadZip("bad central directory signature");
    ZipEntry entry;
    entry.flags = cd.U16(at + kCentralFlags);
    entry.method = cd.U16(at + kCentralMethod);
    entry.dos_time = cd.U16(at + kCentralTime);
    entry.dos_date = cd.U16(at + kCentralDate);
    entry.crc = cd.U32(at + kCentralCrc);
    entry.compressed_size = cd.U32(at + kCentralCompressedSize);
    entry.uncompressed_size = cd.U32(at + kCentralUncompressedSize);
    const std::size_t name_len = cd.U16(at + kCentralNameLength);
    const std::size_t extra_len = cd.U16(at + kCentralExtraLength);
    const std::size_t comment_len = cd.U16(at + kCentralCommentLength);
    const std::uint16_t disk = cd.U16(at + kCentralDisk);
    entry.local_offset = cd.U32(at + kCentralLocalOffset);
    const std::size_t name_at = at + kCentralHeaderSize;
    entry.name = DecodeEntryName(cd.Text(name_at, name_len), (entry.flags & kFlagUtf8Name) != 0);
    const FieldReader extra(cd.Sub(name_at + name_len, extra_len), "extra field");
    ApplyZip64Extra(extra, entry, entry.uncompressed_size == kZip64Marker32,
                    entry.compressed_size == kZip64Marker32, entry.local_offset == kZip64Marker32);
    if (disk != 0 && disk != kZip64Marker16) ThrowBadZip("archives on several disks");
    if (entry.local_offset > end.central_offset)
      ThrowBadZip("entry outside the archive: " + entry.name);
    entry.local_offset += bias;
    if (!FitsWithin(entry.local_offset, entry.compressed_size, dir.central_offset)) {
      ThrowBadZip("entry data outside the archive: " + entry.name);
    }
    at = name_at + name_len + extra_len + comment_len;
    if (at > central.size()) ThrowBadZip("truncated central directory");
    dir.entries.push_back(std::move(entry));
  }
  return dir;
}

}  // namespace hv::zip
