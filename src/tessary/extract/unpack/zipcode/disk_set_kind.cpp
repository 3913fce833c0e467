// Zipped disk sets (1!name ... 4!name, 5!name for a 40-track disk): each set the folder lists
// becomes name.d64 in the level folder, joined by zip2d64.exe when it is to run, by the
// built-in joiner otherwise.

#include "platform/file_ops.h"
#include "platform/path_separator.h"
#include "tessary/extract/unpack/archive_kind.h"
#include "tessary/extract/unpack/kind_support.h"
#include "tessary/extract/unpack/kinds.h"
#include "tessary/extract/unpack/zipcode/zipcode_join.h"

namespace hv::tessary {
namespace {

constexpr char kDiskSetTemp[] = "zvTemp.d64";
constexpr std::size_t kPartPrefix = 2;  // "1!"

std::string WithoutPartPrefix(const std::string& name) {
  return name.size() > kPartPrefix ? name.substr(kPartPrefix) : std::string();
}

// The tool joins the set of the current folder into one temporary image, which then takes the
// set's name. Renaming onto an existing image fails; a missing image means the tool failed.
void ExtractDiskSet(UnpackServices& services, const std::string& level_folder,
                    const std::string& folder, const std::string& short_base_name,
                    const std::string& target_name) {
  halvane::FunctionsOps& functions = services.functions;
  services.tools.Run(folder,
                     {"Zip2D64.exe",
                      {short_base_name, functions.Long2Short(level_folder) +
                                            platform::kPathSeparator + kDiskSetTemp}},
                     platform::kWindowHidden);
  const std::string image = JoinPath(level_folder, kDiskSetTemp);
  if (functions.FileExists(image, halvane::kVbFalse, "")) {
    platform::RenameFile(image, JoinPath(level_folder, target_name));
  }
}

class DiskSetKind final : public ArchiveKind {
 public:
  std::string_view Patterns() const override { return "1!*.*"; }

  bool Unpack(const ArchiveLevel& level, UnpackServices& services) const override {
    platform::MakeFolder(level.level_folder);
    if (services.tools.Use("zip2d64.exe")) {
      for (const std::string& name : level.names) {
        const std::string short_name = FileNamePart(
            services.functions, services.functions.Long2Short(JoinPath(level.folder, name)));
        ExtractDiskSet(services, level.level_folder, level.folder, WithoutPartPrefix(short_name),
                       WithoutPartPrefix(name) + ".d64");
      }
      return true;
    }
    UnpackEach(level.names, [&](const std::string& name) {
      Charge(services.budget,
             zipcode::ZipcodeJoin(level.folder, WithoutPartPrefix(name), level.level_folder,
                                  WithoutPartPrefix(name) + ".d64", {services.budget}));
    });
    return true;
  }
};

}  // namespace

const ArchiveKind& DiskSetArchives() {
  static const DiskSetKind kind;
  return kind;
}

}  // namespace hv::tessary
