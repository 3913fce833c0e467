#include "tessary/extract/unpack/lynx/lynx_extract.h"

#include <algorithm>
#include <vector>

#include "platform/binary_file.h"
#include "platform/file_writer.h"
#include "tessary/extract/unpack/byte_budget.h"
#include "tessary/extract/unpack/flat_folder.h"
#include "tessary/extract/unpack/lynx/lynx_directory.h"
#include "tessary/extract/unpack/lynx/lynx_names.h"
#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::lynx {
namespace {

// Bytes copied from the archive to a file at a time.
constexpr std::uint64_t kCopyChunk = 64 * 1024;

struct PlannedEntry {
  const LynxEntry* entry;
  unpack::FlatTarget target;
};

// Names and sizes are judged before the first byte is written: a bad name or an archive
// over its budget leaves the folder untouched.
std::vector<PlannedEntry> Plan(const LynxDirectory& dir, unpack::FlatFolder& folder,
                               const unpack::ByteBudget& budget) {
  std::vector<PlannedEntry> plan;
  std::uint64_t declared = 0;
  for (const LynxEntry& entry : dir.entries) {
    declared += entry.size;  // each size lies within the archive: no overflow
    budget.CheckDeclared(declared);
    plan.push_back({&entry, folder.Place(EntryFileName(entry))});
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

unpack::UnpackResult ExtractLynx(const std::string& archive, const std::string& folder,
                                 const unpack::UnpackOptions& options) {
  auto file = platform::BinaryFile::OpenRead(archive);
  const LynxDirectory dir = ReadLynxDirectory(file);
  unpack::FlatFolder target_folder(folder, unpack::kLynxArchive, unpack::StemOf(archive));
  unpack::ByteBudget budget(options.max_total_bytes, unpack::kLynxArchive);
  for (const PlannedEntry& item : Plan(dir, target_folder, budget)) {
    auto out = platform::FileWriter::CreateTempIn(folder);
    CopyEntry(file, *item.entry, out);
    out.Commit(item.target.path);
    target_folder.Written(item.target);
  }
  std::uint64_t bytes = 0;
  for (const LynxEntry& entry : dir.entries) bytes += entry.size;
  return {target_folder.written(), bytes, {}};
}

}  // namespace hv::lynx
