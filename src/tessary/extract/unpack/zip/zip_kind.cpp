// Zip archives: always unpacked in-process; a damaged one ends the extraction with the unzip
// text. Only the first zip of a folder is unpacked.

#include "platform/file_ops.h"
#include "tessary/extract/extract_texts.h"
#include "tessary/extract/unpack/archive_kind.h"
#include "tessary/extract/unpack/kind_support.h"
#include "tessary/extract/unpack/kinds.h"
#include "tessary/extract/unpack/zip/zip_error.h"
#include "tessary/extract/unpack/zip/zip_extract.h"

namespace hv::tessary {
namespace {

using namespace texts;

// The last line of the unzip text: what went wrong, as far as the reader can tell.
const char* ZipProblemText(zip::ZipProblem problem) {
  switch (problem) {
    case zip::ZipProblem::kEncrypted:
      return kPasswordProtected;
    case zip::ZipProblem::kTooLarge:
      return kArchiveTooLarge;
    case zip::ZipProblem::kUnsafeName:
      return kUnsafeMemberName;
    default:
      return kPossiblyCorrupt;
  }
}

class ZipKind final : public ArchiveKind {
 public:
  std::string_view Patterns() const override { return "*.zip"; }

  bool Unpack(const ArchiveLevel& level, UnpackServices& services) const override {
    platform::MakeFolder(level.level_folder);
    Charge(services.budget, zip::ExtractZip(JoinPath(level.folder, level.names.front()),
                                            level.level_folder, {services.budget}));
    return true;
  }

  std::string FailureText(const ArchiveLevel& level,
                          const std::exception_ptr& failure) const override {
    return std::string(kUnzipError) + kCrLf + kCrLf + JoinPath(level.folder, level.names.front()) +
           kCrLf + kCrLf + ZipProblemText(zip::ProblemOf(failure));
  }
};

}  // namespace

const ArchiveKind& ZipArchives() {
  static const ZipKind kind;
  return kind;
}

}  // namespace hv::tessary
