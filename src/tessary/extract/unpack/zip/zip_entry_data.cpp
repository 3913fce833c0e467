#include "tessary/extract/unpack/zip/zip_entry_data.h"

#include <algorithm>
#include <array>
#include <string>

#include "tessary/extract/codecs/codec.h"
#include "tessary/extract/unpack/unpack_limits.h"
#include "tessary/extract/unpack/zip/zip_bytes.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::zip {
namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kDescriptorSignature = 0x08074b50;
constexpr std::uint64_t kLocalHeaderSize = 30;

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
    crc_ = codecs::Crc32(crc_, bytes);
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
  std::uint32_t crc_ = 0;
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

}  // namespace

void CheckEntryReadable(const ZipEntry& entry) {
  if (entry.IsEncrypted()) ThrowEncrypted(entry.name);
  if (!codecs::CanDecode(entry.method)) {
    ThrowBadZip("unsupported compression method " + std::to_string(entry.method) + ": " +
                entry.name);
  }
  if (entry.uncompressed_size > unpack::kMaxMemberSize) {
    unpack::ThrowTooLarge(unpack::kZipArchive, "entry too large: " + entry.name);
  }
}

void ReadEntryData(platform::BinaryFile& file, const ZipDirectory& dir, const ZipEntry& entry,
                   unpack::ByteBudget& budget, const ByteSink& sink) {
  CheckEntryReadable(entry);
  const std::uint64_t start = LocateData(file, dir, entry);
  OutputGuard out(entry, budget, sink);
  std::uint64_t read = 0;
  const codecs::ByteSource source = [&](std::span<std::uint8_t> buffer) {
    const auto n = static_cast<std::size_t>(
        std::min<std::uint64_t>(buffer.size(), entry.compressed_size - read));
    file.ReadAt(start + read, buffer.first(n));
    read += n;
    return n;
  };
  const codecs::ByteSink guarded = [&](std::span<const std::uint8_t> bytes) {
    out.Emit(bytes, read);
  };
  const codecs::CodecInput input{entry.method, entry.flags, entry.compressed_size,
                                 entry.uncompressed_size};
  try {
    codecs::Decode(input, source, guarded);
  } catch (const codecs::DamagedData& e) {  // the codecs' own type, told in the zip's words
    ThrowBadZip(std::string(e.what()) + ": " + entry.name);
  }
  out.Finish();
  if (entry.HasDataDescriptor()) CheckDescriptor(file, dir, entry, start + entry.compressed_size);
}

ZipProblem ProblemOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const ZipFailure& e) {
    return e.problem();
  } catch (const unpack::TooLarge&) {
    return ZipProblem::kTooLarge;
  } catch (const Error& e) {
    return e.Number() == vberr::kBadFileName ? ZipProblem::kUnsafeName : ZipProblem::kOther;
  } catch (...) {
    return ZipProblem::kOther;
  }
}

}  // namespace hv::zip
