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

  bool Unpack(const ArchiveLevel& level, UnpackServices& services) const override {
    platform::MakeFolder(level.level_folder);
    Charge(services.budget, zip::ExtractZip(JoinPath(level.folder, level.names.front()),
                                            level.level_folder, {services.budget}));
    return true;
  }

  std::string FailureText(const ArchiveLevel& level) const override {
    return std::string(kUnzipError) + kCrLf + kCrLf + JoinPath(level.folder, level.names.front()) +
           kCrLf + kCrLf + kPossiblyCorrupt;
  }
};

}  // namespace

const ArchiveKind& ZipArchives() {
  static const ZipKind kind;
  return kind;
}

}  // namespace hv::tessary
