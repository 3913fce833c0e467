#include "tessary/extract/unpack/zip/zip_extract.h"

#include <vector>

#include "platform/binary_file.h"
#include "platform/file_writer.h"
#include "tessary/extract/unpack/byte_budget.h"
#include "tessary/extract/unpack/flat_folder.h"
#include "tessary/extract/unpack/unpack_failure.h"
#include "tessary/extract/unpack/zip/zip_directory.h"
#include "tessary/extract/unpack/zip/zip_entry_data.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::zip {
namespace {

struct PlannedEntry {
  const ZipEntry* entry;
  unpack::FlatTarget target;
};

// Everything that can be judged from the directory is judged before the first byte is
// written: a hostile name or an encrypted entry stops the run with the folder untouched.
std::vector<PlannedEntry> Plan(const ZipDirectory& dir, unpack::FlatFolder& folder,
                               const unpack::ByteBudget& budget) {
  std::vector<PlannedEntry> plan;
  std::uint64_t declared = 0;
  for (const ZipEntry& entry : dir.entries) {
    if (unpack::IsFolderName(entry.name)) continue;
    CheckEntryReadable(entry);
    declared += entry.uncompressed_size;  // both below 2^28 * 2^16: no overflow
    budget.CheckDeclared(declared);
    plan.push_back({&entry, folder.Place(entry.name)});
  }
  return plan;
}

}  // namespace

unpack::UnpackResult ExtractZip(const std::string& zip_path, const std::string& dest_dir,
                                const unpack::UnpackOptions& options) {
  auto file = platform::BinaryFile::OpenRead(zip_path);
  const ZipDirectory dir = ReadZipDirectory(file);
  unpack::FlatFolder folder(dest_dir, unpack::kZipArchive, unpack::StemOf(zip_path));
  unpack::ByteBudget budget(options.max_total_bytes, unpack::kZipArchive);
  for (const PlannedEntry& item : Plan(dir, folder, budget)) {
    auto out = platform::FileWriter::CreateTempIn(dest_dir);
    ReadEntryData(file, dir, *item.entry, budget,
                  [&out](std::span<const std::uint8_t> bytes) { out.Write(bytes); });
    out.Commit(item.target.path);
    folder.Written(item.target);
  }
  return {folder.written(), options.max_total_bytes - budget.Left(), {}};
}

}  // namespace hv::zip
