#include "tessary/extract/unpack/lha/lha_extract.h"

#include <vector>

#include "platform/file_writer.h"
#include "tessary/extract/unpack/byte_budget.h"
#include "tessary/extract/unpack/flat_folder.h"
#include "tessary/extract/unpack/lha/lha_archive.h"
#include "tessary/extract/unpack/lha/lha_error.h"
#include "tessary/extract/unpack/unpack_failure.h"

namespace hv::lha {
namespace {

struct PlannedEntry {
  std::uint64_t index;  // position among all entries of the archive
  unpack::FlatTarget target;
};

// A first pass over the headers alone judges names, methods and sizes before the first byte
// is written: a damaged directory, an unknown method or an archive over its budget leaves
// the folder untouched.
std::vector<PlannedEntry> Plan(const std::string& archive, unpack::FlatFolder& folder,
                               const unpack::ByteBudget& budget) {
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
    if (entry->length > unpack::kMaxMemberSize) ThrowBadLha("entry too large: " + shown);
    budget.CheckRatio(entry->length, entry->compressed_length, shown);
    declared += entry->length;  // each below 2^28, and entries are far fewer than 2^36
    budget.CheckDeclared(declared);
    plan.push_back({index, folder.Place(shown)});
  }
  return plan;
}

}  // namespace

unpack::UnpackResult ExtractLha(const std::string& archive, const std::string& folder,
                                const unpack::UnpackOptions& options) {
  unpack::FlatFolder target_folder(folder, unpack::kLhaArchive, unpack::StemOf(archive));
  unpack::ByteBudget budget(options.max_total_bytes, unpack::kLhaArchive);
  const std::vector<PlannedEntry> plan = Plan(archive, target_folder, budget);
  LhaArchive lha(archive);
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
      budget.Take(bytes.size());
      out.Write(bytes);
    });
    out.Commit(item.target.path);
    target_folder.Written(item.target);
  }
  return {target_folder.written(), options.max_total_bytes - budget.Left(), {}};
}

}  // namespace hv::lha
