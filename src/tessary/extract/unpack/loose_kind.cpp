// Loose files: every file small enough for a program file moves into the level folder as a
// program file; larger ones stay. When none moves, the folder is not compatible.

#include "platform/file_ops.h"
#include "tessary/extract/extract_limits.h"
#include "tessary/extract/unpack/archive_kind.h"
#include "tessary/extract/unpack/kind_support.h"
#include "tessary/extract/unpack/kinds.h"

namespace hv::tessary {
namespace {

class LooseKind final : public ArchiveKind {
 public:
  std::string_view Patterns() const override { return "*.*"; }

  bool Unpack(const ArchiveLevel& level, UnpackServices& services) const override {
    bool moved = false;
    for (const std::string& name : level.names) {
      if (platform::FileLength(JoinPath(level.folder, name)) > kLooseFileMaxBytes) continue;
      moved = true;
      if (!services.functions.DirExists(level.level_folder)) {
        platform::MakeFolder(level.level_folder);
      }
      // The extension is appended, not replaced: GAME.BIN becomes GAME.BIN.prg.
      platform::RenameFile(JoinPath(level.folder, name),
                           JoinPath(level.level_folder, name + ".prg"));
    }
    return moved;
  }
};

}  // namespace

const ArchiveKind& LooseFiles() {
  static const LooseKind kind;
  return kind;
}

}  // namespace hv::tessary
