#include "tessary/extract/unpack/lynx/lynx_extract.h"

#include <algorithm>
#include <new>

#include "platform/binary_file.h"
#include "platform/file_writer.h"
#include "tessary/extract/unpack/lynx/lynx_directory.h"
#include "tessary/extract/unpack/lynx/lynx_error.h"
#include "tessary/extract/unpack/lynx/lynx_names.h"
#include "tessary/extract/unpack/zip/zip_names.h"

namespace hv::lynx {
namespace {

// Bytes copied from the archive to a file at a time.
constexpr std::uint64_t kCopyChunk = 64 * 1024;

struct PlannedEntry {
  const LynxEntry* entry;
  zip::EntryTarget target;
};

zip::EntryTarget CheckedTarget(const std::string& folder, const std::string& file_name) {
  try {
    return zip::FlatEntryTarget(folder, file_name);
  } catch (const Error& e) {
    if (e.Number() == vberr::kBadFileName) ThrowUnsafeLynxName(file_name);
    throw;
  }
}

// Names and sizes are judged before the first byte is written: a bad name or an archive
// over its budget leaves the folder untouched.
std::vector<PlannedEntry> Plan(const LynxDirectory& dir, const std::string& folder,
                               std::uint64_t budget) {
  std::vector<PlannedEntry> plan;
  std::uint64_t declared = 0;
  for (const LynxEntry& entry : dir.entries) {
    declared += entry.size;  // each size lies within the archive: no overflow
    if (declared > budget) ThrowBadLynx("archive exceeds its size budget");
    plan.push_back({&entry, CheckedTarget(folder, EntryFileName(entry))});
  }
  return plan;
}

void CopyEntry(platform::BinaryFile& file, const LynxEntry& entry, platform::FileWriter& out) {
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(entry.size, kCopyChunk)));
  for (std::uint64_t done = 0; done < entry.size;) {
    const std::uint64_t part = std::min(entry.size - done, kCopyChunk);
    const std::span<std::uint8_t> chunk(buffer.data(), static_cast<std::size_t>(part));
    file.ReadAt(entry.data_offset + done, chunk);
    out.Write(chunk);
    done += part;
  }
}

}  // namespace

LynxExtractResult ExtractLynx(const std::string& archive, const std::string& folder,
                              const LynxOptions& options) {
  LynxExtractResult result;
  try {
    auto file = platform::BinaryFile::OpenRead(archive);
    const LynxDirectory dir = ReadLynxDirectory(file);
    for (const PlannedEntry& item : Plan(dir, folder, options.max_total_bytes)) {
      auto out = platform::FileWriter::CreateTempIn(folder);
      CopyEntry(file, *item.entry, out);
      out.Commit(item.target.path);
      zip::RecordWritten(result.written, item.target.file_name);
    }
    result.ok = true;
  } catch (...) {
    result.failure = CaughtFailure();
  }
  return result;
}

}  // namespace hv::lynx
