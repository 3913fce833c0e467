#include "tessary/extract/unpack/zip/zip_entry_data.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <vector>

#include "tessary/extract/unpack/inflate.h"
#include "tessary/extract/unpack/unpack_limits.h"
#include "tessary/extract/unpack/zip/zip_bytes.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::zip {
namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kDescriptorSignature = 0x08074b50;
constexpr std::uint64_t kLocalHeaderSize = 30;
constexpr std::size_t kChunk = 64 * 1024;

// Checks output against the declared size, the budget and the ratio cap, then passes it on.
class OutputGuard {
 public:
  OutputGuard(const ZipEntry& entry, unpack::ByteBudget& budget, const ByteSink& sink)
      : entry_(entry), budget_(budget), sink_(sink) {}

  void Emit(std::span<const std::uint8_t> bytes, std::uint64_t compressed_read) {
    if (bytes.size() > entry_.uncompressed_size - written_) {
      ThrowBadZip("entry larger than its recorded size: " + entry_.name);
    }
    budget_.Take(bytes.size(), entry_.name);
    written_ += bytes.size();
    budget_.CheckRatio(written_, compressed_read, entry_.name);
    crc_ = crc32(crc_, bytes.data(), static_cast<uInt>(bytes.size()));
    sink_(bytes);
  }

  void Finish() const {
    if (written_ != entry_.uncompressed_size) {
      ThrowBadZip("entry shorter than its recorded size: " + entry_.name);
    }
    if (crc_ != entry_.crc) ThrowBadZip("CRC error in " + entry_.name);
  }

 private:
  const ZipEntry& entry_;
  unpack::ByteBudget& budget_;
  const ByteSink& sink_;
  std::uint64_t written_ = 0;
  uLong crc_ = crc32(0, nullptr, 0);
};

// The data start, from the local header's own name and extra lengths.
std::uint64_t LocateData(platform::BinaryFile& file, const ZipDirectory& dir,
                         const ZipEntry& entry) {
  if (!FitsWithin(entry.local_offset, kLocalHeaderSize, dir.central_offset)) {
    ThrowBadZip("local header outside the archive: " + entry.name);
  }
  std::array<std::uint8_t, kLocalHeaderSize> bytes{};
  file.ReadAt(entry.local_offset, bytes);
  const FieldReader local(bytes, "local header");
  if (local.U32(0) != kLocalSignature) ThrowBadZip("bad local header signature: " + entry.name);
  const std::uint16_t flags = local.U16(6);
  if (local.U16(8) != entry.method || ((flags ^ entry.flags) & kFlagEncrypted) != 0) {
    ThrowBadZip("local header disagrees with the central directory: " + entry.name);
  }
  if ((flags & kFlagDataDescriptor) == 0 && local.U32(14) != entry.crc) {
    ThrowBadZip("local header disagrees with the central directory: " + entry.name);
  }
  const std::uint64_t start = entry.local_offset + kLocalHeaderSize + local.U16(26) + local.U16(28);
  if (!FitsWithin(start, entry.compressed_size, dir.central_offset)) {
    ThrowBadZip("entry data outside the archive: " + entry.name);
  }
  return start;
}

// A data descriptor (bit 3) repeats the CRC after the data, with or without its signature.
void CheckDescriptor(platform::BinaryFile& file, const ZipDirectory& dir, const ZipEntry& entry,
                     std::uint64_t data_end) {
  std::array<std::uint8_t, 8> bytes{};
  if (!FitsWithin(data_end, 4, dir.central_offset)) {
    ThrowBadZip("missing data descriptor: " + entry.name);
  }
  const bool room_for_signed = FitsWithin(data_end, 8, dir.central_offset);
  file.ReadAt(data_end, std::span(bytes).first(room_for_signed ? 8 : 4));
  const FieldReader desc(bytes, "data descriptor");
  const bool signed_form = room_for_signed && desc.U32(0) == kDescriptorSignature;
  const std::uint32_t crc = desc.U32(signed_form ? 4 : 0);
  if (crc != entry.crc)
    ThrowBadZip("data descriptor disagrees with the central directory: " + entry.name);
}

void CopyStored(platform::BinaryFile& file, const ZipEntry& entry, std::uint64_t start,
                OutputGuard& out) {
  if (entry.compressed_size != entry.uncompressed_size) {
    ThrowBadZip("stored entry with two different sizes: " + entry.name);
  }
  std::vector<std::uint8_t> buffer(kChunk);
  std::uint64_t done = 0;
  while (done < entry.compressed_size) {
    const auto n =
        static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, entry.compressed_size - done));
    file.ReadAt(start + done, std::span(buffer).first(n));
    done += n;
    out.Emit(std::span(buffer).first(n), done);
  }
}

void Inflate(platform::BinaryFile& file, const ZipEntry& entry, std::uint64_t start,
             OutputGuard& out) {
  const unpack::Inflated inflated = unpack::Inflate(
      file, start, entry.compressed_size, unpack::DeflateWrapper::kRaw,
      [&out](std::span<const std::uint8_t> bytes, std::uint64_t read) { out.Emit(bytes, read); });
  switch (inflated.end) {
    case unpack::Inflated::End::kStreamEnd:
      return;
    case unpack::Inflated::End::kTruncated:
      ThrowBadZip("compressed data ends early: " + entry.name);
    case unpack::Inflated::End::kDamaged:
      break;
  }
  ThrowBadZip("compressed data is damaged: " + entry.name);
}

}  // namespace

void CheckEntryReadable(const ZipEntry& entry) {
  if (entry.IsEncrypted()) ThrowBadZip("encrypted entry (no password is supplied): " + entry.name);
  if (entry.method != kMethodStored && entry.method != kMethodDeflated) {
    ThrowBadZip("unsupported compression method " + std::to_string(entry.method) + ": " +
                entry.name);
  }
  if (entry.uncompressed_size > unpack::kMaxMemberSize) {
    ThrowBadZip("entry too large: " + entry.name);
  }
}

void ReadEntryData(platform::BinaryFile& file, const ZipDirectory& dir, const ZipEntry& entry,
                   unpack::ByteBudget& budget, const ByteSink& sink) {
  CheckEntryReadable(entry);
  const std::uint64_t start = LocateData(file, dir, entry);
  OutputGuard out(entry, budget, sink);
  if (entry.method == kMethodStored) {
    CopyStored(file, entry, start, out);
  } else {
    Inflate(file, entry, start, out);
  }
  out.Finish();
  if (entry.HasDataDescriptor()) CheckDescriptor(file, dir, entry, start + entry.compressed_size);
}

}  // namespace hv::zip
