// Lynx archives: every archive the folder lists unpacks into the level folder, by
// starlynx.exe when it is to run, by the built-in reader otherwise.

#include "common/error.h"
#include "platform/file_ops.h"
#include "platform/path_separator.h"
#include "tessary/extract/unpack/archive_kind.h"
#include "tessary/extract/unpack/kind_support.h"
#include "tessary/extract/unpack/kinds.h"
#include "tessary/extract/unpack/lynx/lynx_extract.h"

namespace hv::tessary {
namespace {

constexpr std::size_t kDotAndExtension = 4;  // ".lnx"

// The tool gets the archive's short path and, as its target, the level folder followed by the
// archive's short name without its extension.
void ExtractLynx(UnpackServices& services, const std::string& level_folder,
                 const std::string& folder, const std::string& short_file_name) {
  halvane::FunctionsOps& functions = services.functions;
  const std::string archive = functions.Long2Short(JoinPath(folder, short_file_name));
  const std::string name = FileNamePart(functions, archive);
  if (name.size() < kDotAndExtension) throw Error(vberr::kInvalidProcedureCall);
  const std::string base = name.substr(0, name.size() - kDotAndExtension);
  services.tools.Run(
      folder,
      {"starlynx.exe",
       {"-x", archive, "/y", functions.Long2Short(level_folder) + platform::kPathSeparator + base}},
      platform::kWindowHidden);
}

class LynxKind final : public ArchiveKind {
 public:
  std::string_view Patterns() const override { return "*.lnx"; }

  bool Unpack(const ArchiveLevel& level, UnpackServices& services) const override {
    platform::MakeFolder(level.level_folder);
    if (services.tools.Use("starlynx.exe")) {
      for (const std::string& name : level.names) {
        ExtractLynx(services, level.level_folder, level.folder,
                    FileNamePart(services.functions,
                                 services.functions.Long2Short(JoinPath(level.folder, name))));
      }
      return true;
    }
    UnpackEach(level.names, [&](const std::string& name) {
      Charge(services.budget, lynx::ExtractLynx(JoinPath(level.folder, name), level.level_folder,
                                                {services.budget}));
    });
    return true;
  }
};

}  // namespace

const ArchiveKind& LynxArchives() {
  static const LynxKind kind;
  return kind;
}

}  // namespace hv::tessary
