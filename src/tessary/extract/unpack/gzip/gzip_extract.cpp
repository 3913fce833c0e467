#include "tessary/extract/unpack/gzip/gzip_extract.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/binary_file.h"
#include "platform/file_writer.h"
#include "platform/path_separator.h"
#include "tessary/extract/codecs/inflate.h"
#include "tessary/extract/unpack/byte_budget.h"
#include "tessary/extract/unpack/flat_folder.h"
#include "tessary/extract/unpack/gzip/gzip_names.h"
#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::gzip {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

[[noreturn]] void ThrowBadGzip(const std::string& what) {
  unpack::ThrowDamaged(unpack::kGzipFile, what);
}

std::string ArchiveFileName(const std::string& archive) {
  const auto cut = archive.find_last_of(platform::kPathSeparator);
  return cut == std::string::npos ? archive : archive.substr(cut + 1);
}

bool StartsMember(platform::BinaryFile& file, std::uint64_t offset, std::uint64_t length) {
  if (length - offset < 2) return false;
  std::array<std::uint8_t, 2> magic{};
  file.ReadAt(offset, magic);
  return magic[0] == 0x1F && magic[1] == 0x8B;
}

// What follows the last member, in gunzip's terms: zeros (tape and transfer padding) are
// ignored quietly, anything else with a warning, a lone first magic byte is a cut-off member.
std::string TrailerWarning(platform::BinaryFile& file, std::uint64_t offset, std::uint64_t length) {
  std::vector<std::uint8_t> rest(kChunk);
  bool zeros = true;
  for (std::uint64_t at = offset; at < length && zeros;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - at));
    file.ReadAt(at, std::span(rest).first(n));
    if (at == offset && length - offset == 1 && rest[0] == 0x1F) {
      ThrowBadGzip("unexpected end of file");
    }
    zeros = std::all_of(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(n),
                        [](std::uint8_t b) { return b == 0; });
    at += n;
  }
  return zeros ? "trailing zero bytes ignored" : "trailing garbage ignored";
}

// Inflates member after member into `out`; returns the warning for what follows them.
std::string InflateMembers(platform::BinaryFile& file, unpack::ByteBudget& budget,
                           platform::FileWriter& out) {
  const std::uint64_t length = file.Length();
  if (!StartsMember(file, 0, length)) ThrowBadGzip("not in gzip format");
  std::uint64_t written = 0;
  for (std::uint64_t member = 0;;) {
    std::uint64_t read = 0;  // input bytes handed to zlib from this member on
    const auto source = [&](std::span<std::uint8_t> buffer) {
      const auto n =
          static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - member - read));
      file.ReadAt(member + read, buffer.first(n));
      read += n;
      return n;
    };
    const codecs::Inflated inflated = codecs::InflateStream(
        codecs::DeflateWrapper::kGzip, source, [&](std::span<const std::uint8_t> bytes) {
          if (bytes.size() > unpack::kMaxMemberSize - written) {
            ThrowBadGzip("extraction exceeds its size budget");
          }
          budget.Take(bytes.size());
          written += bytes.size();
          budget.CheckRatio(written, member + read);
          out.Write(bytes);
        });
    if (inflated.end == codecs::Inflated::End::kTruncated) ThrowBadGzip("unexpected end of file");
    if (inflated.end == codecs::Inflated::End::kDamaged) {
      ThrowBadGzip(inflated.message.empty() ? "compressed data is damaged" : inflated.message);
    }
    const std::uint64_t consumed = member + inflated.consumed;
    if (consumed == length) return {};
    if (!StartsMember(file, consumed, length)) return TrailerWarning(file, consumed, length);
    member = consumed;  // another member follows
  }
}

}  // namespace

unpack::UnpackResult ExtractGzip(const std::string& archive, const std::string& folder,
                                 const unpack::UnpackOptions& options) {
  const std::string name = ArchiveFileName(archive);
  const auto unpacked = GunzipName(name);
  if (!unpacked) throw Error(vberr::kBadFileName, "The gzip file has an unknown suffix: " + name);
  unpack::FlatFolder target_folder(folder, unpack::kGzipFile, unpack::StemOf(name));
  const unpack::FlatTarget target = target_folder.Place(*unpacked);
  auto file = platform::BinaryFile::OpenRead(archive);
  unpack::ByteBudget budget(options.max_total_bytes, unpack::kGzipFile);
  auto out = platform::FileWriter::CreateTempIn(folder);
  std::string warning = InflateMembers(file, budget, out);
  out.Commit(target.path);
  target_folder.Written(target);
  return {target_folder.written(), options.max_total_bytes - budget.Left(), std::move(warning)};
}

}  // namespace hv::gzip
