// Zip archives: always unpacked in-process; a damaged one ends the extraction with the unzip
// text. Only the first zip of a folder is unpacked.

#include "platform/file_ops.h"
#include "tessary/extract/extract_texts.h"
#include "tessary/extract/unpack/archive_kind.h"
#include "tessary/extract/unpack/kind_support.h"
#include "tessary/extract/unpack/kinds.h"
#include "tessary/extract/unpack/zip/zip_extract.h"

namespace hv::tessary {
namespace {

using namespace texts;

class ZipKind final : public ArchiveKind {
 public:
  std::string_view Patterns() const override { return "*.zip"; }

  Unpacked Unpack(const ArchiveLevel& level, UnpackServices& services) const override {
    platform::MakeFolder(level.level_folder);
    const std::string zip_path = JoinPath(level.folder, level.names.front());
    zip::ZipOptions options;
    options.overwrite = true;
    options.max_total_bytes = services.budget;
    const zip::ZipExtractResult result = zip::ExtractZip(zip_path, level.level_folder, options);
    if (!result.ok) {
      return Unpacked::Failed(
          std::string(kUnzipError) + kCrLf + kCrLf + zip_path + kCrLf + kCrLf + kPossiblyCorrupt,
          result.failure);
    }
    ChargeBudget(services.budget, level.level_folder, result.written);
    return Unpacked::ExamineLevelFolder();
  }
};

}  // namespace

const ArchiveKind& ZipArchives() {
  static const ZipKind kind;
  return kind;
}

}  // namespace hv::tessary
