#include "tessary/extract/unpack/zip/zip_extract.h"

#include <algorithm>
#include <new>

#include "platform/binary_file.h"
#include "platform/file_writer.h"
#include "tessary/extract/unpack/zip/zip_directory.h"
#include "tessary/extract/unpack/zip/zip_entry_data.h"
#include "tessary/extract/unpack/zip/zip_error.h"
#include "tessary/extract/unpack/zip/zip_names.h"

namespace hv::zip {
namespace {

struct PlannedEntry {
  const ZipEntry* entry;
  EntryTarget target;
};

// Everything that can be judged from the directory is judged before the first byte is
// written: a hostile name or an encrypted entry stops the run with the folder untouched.
std::vector<PlannedEntry> Plan(const ZipDirectory& dir, const std::string& dest_dir,
                               std::uint64_t budget) {
  std::vector<PlannedEntry> plan;
  std::uint64_t declared = 0;
  for (const ZipEntry& entry : dir.entries) {
    if (IsFolderName(entry.name)) continue;
    if (entry.IsEncrypted())
      ThrowBadZip("encrypted entry (no password is supplied): " + entry.name);
    if (entry.method != kMethodStored && entry.method != kMethodDeflated) {
      ThrowBadZip("unsupported compression method " + std::to_string(entry.method) + ": " +
                  entry.name);
    }
    if (entry.uncompressed_size > kZipMaxEntrySize) ThrowBadZip("entry too large: " + entry.name);
    declared += entry.uncompressed_size;  // both below 2^28 * 2^16: no overflow
    if (declared > budget) ThrowBadZip("archive exceeds its size budget");
    plan.push_back({&entry, FlatEntryTarget(dest_dir, entry.name)});
  }
  return plan;
}

ListedEntry Describe(const ZipEntry& entry) {
  ListedEntry listed;
  listed.name = entry.name;
  listed.uncompressed_size = entry.uncompressed_size;
  listed.compressed_size = entry.compressed_size;
  listed.year = 1980 + (entry.dos_date >> 9);
  listed.month = (entry.dos_date >> 5) & 0x0F;
  listed.day = entry.dos_date & 0x1F;
  listed.hour = entry.dos_time >> 11;
  listed.minute = (entry.dos_time >> 5) & 0x3F;
  listed.crc = entry.crc;
  listed.encrypted = entry.IsEncrypted();
  return listed;
}

}  // namespace

ZipExtractResult ExtractZip(const std::string& zip_path, const std::string& dest_dir,
                            const ZipOptions& options) {
  ZipExtractResult result;
  try {
    auto file = platform::BinaryFile::OpenRead(zip_path);
    const ZipDirectory dir = ReadZipDirectory(file);
    std::uint64_t budget = options.max_total_bytes;
    bool replace_none = false;
    for (const PlannedEntry& item : Plan(dir, dest_dir, budget)) {
      if (!options.overwrite && platform::PathExists(item.target.path)) {
        const ReplaceAnswer answer = replace_none || !options.prompter
                                         ? ReplaceAnswer::kKeep
                                         : options.prompter->AskReplace(item.target.file_name);
        if (answer == ReplaceAnswer::kReplaceNone) replace_none = true;
        if (answer != ReplaceAnswer::kReplace) continue;
      }
      auto out = platform::FileWriter::CreateTempIn(dest_dir);
      ReadEntryData(file, dir, *item.entry, budget,
                    [&out](std::span<const std::uint8_t> bytes) { out.Write(bytes); });
      out.Commit(item.target.path);
      if (!options.quiet && options.prompter) {
        options.prompter->Print("  inflating: " + item.target.file_name + "\r\n");
      }
      RecordWritten(result.written, item.target.file_name);
    }
    result.ok = true;
  } catch (...) {
    result.failure = CaughtFailure();
  }
  return result;
}

std::vector<ListedEntry> ListZip(const std::string& zip_path, ZipPrompter* listing) {
  auto file = platform::BinaryFile::OpenRead(zip_path);
  const ZipDirectory dir = ReadZipDirectory(file);
  std::vector<ListedEntry> entries;
  for (const ZipEntry& entry : dir.entries) {
    if (IsFolderName(entry.name)) continue;
    entries.push_back(Describe(entry));
    if (listing) listing->List(entries.back());
  }
  return entries;
}

}  // namespace hv::zip
