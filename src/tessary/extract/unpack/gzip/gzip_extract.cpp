#include "tessary/extract/unpack/gzip/gzip_extract.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "platform/binary_file.h"
#include "platform/file_writer.h"
#include "platform/path_separator.h"
#include "tessary/extract/unpack/gzip/gzip_names.h"
#include "tessary/extract/unpack/zip/zip_error.h"
#include "tessary/extract/unpack/zip/zip_limits.h"
#include "tessary/extract/unpack/zip/zip_names.h"

namespace hv::gzip {
namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr int kGzipOnlyWindow = MAX_WBITS + 16;  // zlib reads and checks the gzip wrapper

[[noreturn]] void ThrowBadGzip(const std::string& what) {
  throw Error(zip::kZipInvalidFormat, "The gzip file is damaged or unsupported: " + what);
}

// Owns a gzip-wrapped z_stream; inflateEnd runs on every way out.
class Inflater {
 public:
  Inflater() {
    if (inflateInit2(&stream_, kGzipOnlyWindow) != Z_OK) throw Error(vberr::kOutOfMemory);
  }
  ~Inflater() { inflateEnd(&stream_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  z_stream& get() noexcept { return stream_; }

 private:
  z_stream stream_{};
};

std::string ArchiveFileName(const std::string& archive) {
  const auto cut = archive.find_last_of(platform::kPathSeparator);
  return cut == std::string::npos ? archive : archive.substr(cut + 1);
}

zip::EntryTarget OutputTarget(const std::string& archive, const std::string& folder) {
  const std::string name = ArchiveFileName(archive);
  const auto unpacked = GunzipName(name);
  if (!unpacked) throw Error(vberr::kBadFileName, "The gzip file has an unknown suffix: " + name);
  try {
    return zip::FlatEntryTarget(folder, *unpacked);
  } catch (const Error& e) {
    if (e.Number() == vberr::kBadFileName) {
      throw Error(vberr::kBadFileName, "The gzip file unpacks to an unsafe file name: " + name);
    }
    throw;
  }
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
std::string InflateMembers(platform::BinaryFile& file, std::uint64_t budget,
                           platform::FileWriter& out) {
  const std::uint64_t length = file.Length();
  if (!StartsMember(file, 0, length)) ThrowBadGzip("not in gzip format");
  Inflater inflater;
  z_stream& z = inflater.get();
  std::vector<std::uint8_t> in(kChunk);
  std::vector<std::uint8_t> buffer(kChunk);
  std::uint64_t read = 0;  // archive bytes handed to zlib so far
  std::uint64_t written = 0;
  const std::uint64_t limit = std::min(budget, zip::kZipMaxEntrySize);
  for (;;) {
    if (z.avail_in == 0 && read < length) {
      const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - read));
      file.ReadAt(read, std::span(in).first(n));
      read += n;
      z.next_in = in.data();
      z.avail_in = static_cast<uInt>(n);
    }
    z.next_out = buffer.data();
    z.avail_out = static_cast<uInt>(buffer.size());
    const int rc = inflate(&z, Z_NO_FLUSH);
    const std::size_t produced = buffer.size() - z.avail_out;
    const std::uint64_t consumed = read - z.avail_in;
    if (produced > 0) {
      if (produced > limit - written) ThrowBadGzip("extraction exceeds its size budget");
      written += produced;
      if (written > zip::kZipRatioCheckFrom &&
          written / std::max<std::uint64_t>(consumed, 1) > zip::kZipMaxCompressionRatio) {
        ThrowBadGzip("compression ratio too high");
      }
      out.Write(std::span(buffer).first(produced));
    }
    if (rc == Z_STREAM_END) {
      if (consumed == length) return {};
      if (!StartsMember(file, consumed, length)) return TrailerWarning(file, consumed, length);
      // Another member follows: start over on it, from its first byte.
      if (inflateReset(&z) != Z_OK) ThrowBadGzip("cannot restart the decoder");
      read = consumed;
      z.avail_in = 0;
      continue;
    }
    if (rc == Z_BUF_ERROR && z.avail_in == 0 && read == length) {
      ThrowBadGzip("unexpected end of file");
    }
    if (rc != Z_OK && rc != Z_BUF_ERROR) {
      ThrowBadGzip(z.msg != nullptr ? z.msg : "compressed data is damaged");
    }
  }
}

}  // namespace

GzipExtractResult ExtractGzip(const std::string& archive, const std::string& folder,
                              const GzipOptions& options) {
  GzipExtractResult result;
  try {
    const zip::EntryTarget target = OutputTarget(archive, folder);
    auto file = platform::BinaryFile::OpenRead(archive);
    auto out = platform::FileWriter::CreateTempIn(folder);
    result.warning = InflateMembers(file, options.max_total_bytes, out);
    out.Commit(target.path);
    result.written = target.file_name;
    result.ok = true;
  } catch (...) {
    result.warning.clear();
    result.failure = CaughtFailure();
  }
  return result;
}

}  // namespace hv::gzip
