// LHA archives: lha.exe when it is to run, the built-in lhasa reader otherwise. Only the first
// archive of a folder is unpacked.

#include "platform/file_ops.h"
#include "platform/path_separator.h"
#include "tessary/extract/unpack/archive_kind.h"
#include "tessary/extract/unpack/kind_support.h"
#include "tessary/extract/unpack/kinds.h"
#include "tessary/extract/unpack/lha/lha_extract.h"

namespace hv::tessary {
namespace {

// The tool's command "e" (extract, flat) with its switch "/m" (no questions), the archive and
// the target folder ending with a separator.
void ExtractLha(UnpackServices& services, const std::string& folder, const std::string& name,
                const std::string& level_folder) {
  halvane::FunctionsOps& functions = services.functions;
  services.tools.Run(folder,
                     {"lha.exe",
                      {"e", "/m", functions.Long2Short(JoinPath(folder, name)),
                       functions.Long2Short(level_folder) + platform::kPathSeparator}},
                     platform::kWindowHidden);
}

class LhaKind final : public ArchiveKind {
 public:
  std::string_view Patterns() const override { return "*.lha;*.lzh"; }

  bool Unpack(const ArchiveLevel& level, UnpackServices& services) const override {
    platform::MakeFolder(level.level_folder);
    const std::string& name = level.names.front();
    if (services.tools.Use("lha.exe")) {
      ExtractLha(services, level.folder, name, level.level_folder);
      return true;
    }
    Charge(services.budget,
           lha::ExtractLha(JoinPath(level.folder, name), level.level_folder, {services.budget}));
    return true;
  }
};

}  // namespace

const ArchiveKind& LhaArchives() {
  static const LhaKind kind;
  return kind;
}

}  // namespace hv::tessary
