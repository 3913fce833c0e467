#include "tessary/extract/unpack/lha/lha_extract.h"

#include <algorithm>
#include <new>

#include "platform/file_writer.h"
#include "tessary/extract/unpack/lha/lha_archive.h"
#include "tessary/extract/unpack/lha/lha_error.h"
#include "tessary/extract/unpack/zip/zip_names.h"

namespace hv::lha {
namespace {

struct PlannedEntry {
  std::uint64_t index;  // position among all entries of the archive
  zip::EntryTarget target;
};

zip::EntryTarget CheckedTarget(const std::string& folder, const LhaEntry& entry) {
  try {
    return zip::FlatEntryTarget(folder, entry.name);
  } catch (const Error& e) {
    if (e.Number() == vberr::kBadFileName) ThrowUnsafeLhaName(entry.path + entry.name);
    throw;
  }
}

// A first pass over the headers alone judges names, methods and sizes before the first byte
// is written: a damaged directory, an unknown method or an archive over its budget leaves
// the folder untouched.
std::vector<PlannedEntry> Plan(const std::string& archive, const std::string& folder,
                               std::uint64_t budget) {
  std::vector<PlannedEntry> plan;
  LhaArchive lha(archive);
  std::uint64_t declared = 0;
  std::uint64_t index = 0;
  for (auto entry = lha.Next(); entry; entry = lha.Next(), ++index) {
    if (!entry->IsFile()) continue;
    const std::string shown = entry->path + entry->name;
    if (!IsKnownMethod(entry->method)) {
      ThrowBadLha("unsupported method " + entry->method + ": " + shown);
    }
    if (entry->length > zip::kZipMaxEntrySize) ThrowBadLha("entry too large: " + shown);
    if (entry->length > zip::kZipRatioCheckFrom &&
        entry->length / std::max<std::uint64_t>(entry->compressed_length, 1) >
            zip::kZipMaxCompressionRatio) {
      ThrowBadLha("compression ratio too high: " + shown);
    }
    declared += entry->length;  // each below 2^28, and entries are far fewer than 2^36
    if (declared > budget) ThrowBadLha("archive exceeds its size budget");
    plan.push_back({index, CheckedTarget(folder, *entry)});
  }
  return plan;
}

}  // namespace

LhaExtractResult ExtractLha(const std::string& archive, const std::string& folder,
                            const LhaOptions& options) {
  LhaExtractResult result;
  try {
    const std::vector<PlannedEntry> plan = Plan(archive, folder, options.max_total_bytes);
    LhaArchive lha(archive);
    std::uint64_t budget = options.max_total_bytes;
    std::uint64_t index = 0;
    for (const PlannedEntry& item : plan) {
      for (; index < item.index; ++index) {
        if (!lha.Next()) ThrowBadLha("the archive changed while it was read");
      }
      const auto entry = lha.Next();
      ++index;
      if (!entry) ThrowBadLha("the archive changed while it was read");
      auto out = platform::FileWriter::CreateTempIn(folder);
      lha.Decode([&](std::span<const std::uint8_t> bytes) {
        if (bytes.size() > budget) ThrowBadLha("extraction exceeds its size budget");
        budget -= bytes.size();
        out.Write(bytes);
      });
      out.Commit(item.target.path);
      zip::RecordWritten(result.written, item.target.file_name);
    }
    result.ok = true;
  } catch (...) {
    result.failure = CaughtFailure();
  }
  return result;
}

}  // namespace hv::lha
