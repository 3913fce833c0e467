// gzip files: WinZip when the caller names one, else gunzip.exe when it is to run and can take
// the name, else the built-in reader. Only the first .gz of a folder is unpacked, but every .gz
// the folder listed is deleted afterwards, and what remains moves into the level folder: the
// file unpacked in place and whatever else the folder held.

#include "platform/file_ops.h"
#include "tessary/extract/folder_lister.h"
#include "tessary/extract/unpack/archive_kind.h"
#include "tessary/extract/unpack/gzip/gzip_extract.h"
#include "tessary/extract/unpack/kind_support.h"
#include "tessary/extract/unpack/kinds.h"

namespace hv::tessary {
namespace {

// WinZip's line never went through the interpreter; every piece stays between quotation marks.
// WinZip unpacks into the level folder and leaves the archive where it is.
void ExtractWithWinZip(UnpackServices& services, const std::string& winzip,
                       const std::string& folder, const std::string& name,
                       const std::string& level_folder) {
  using platform::ToolArgument;
  services.tools.Run(
      folder,
      {winzip,
       {"-e", ToolArgument::Quoted(JoinPath(folder, name)), ToolArgument::Quoted(level_folder)},
       /*quote_program=*/true},
      platform::kWindowMinimized);
}

// gunzip replaces the archive in the folder by the file it holds ("-f" force, "-q" quiet).
void RunGunzip(UnpackServices& services, const std::string& folder, const std::string& name) {
  services.tools.Run(
      folder, {"gunzip.exe", {"-f", "-q", services.functions.Long2Short(JoinPath(folder, name))}},
      platform::kWindowHidden);
}

void UnpackInPlace(UnpackServices& services, const std::string& folder, const std::string& name) {
  Charge(services.budget, gzip::ExtractGzip(JoinPath(folder, name), folder, {services.budget}));
}

void MoveIntoLevelFolder(UnpackServices& services, const ArchiveLevel& level) {
  for (const std::string& gz : level.names) {
    services.functions.DeletePathSilent(JoinPath(level.folder, gz));
  }
  for (const std::string& file : ListNames(level.folder, "*.*")) {
    platform::RenameFile(JoinPath(level.folder, file), JoinPath(level.level_folder, file));
  }
}

class GzipKind final : public ArchiveKind {
 public:
  std::string_view Patterns() const override { return "*.gz"; }

  bool Unpack(const ArchiveLevel& level, UnpackServices& services) const override {
    platform::MakeFolder(level.level_folder);
    const std::string& name = level.names.front();
    if (services.functions.FileExists(level.winzip_path, halvane::kVbFalse, "")) {
      ExtractWithWinZip(services, level.winzip_path, level.folder, name, level.level_folder);
      return true;
    }
    // gunzip cannot take a '+' in the archived name; the built-in reader can.
    if (name.find('+') == std::string::npos && services.tools.Use("gunzip.exe")) {
      RunGunzip(services, level.folder, name);
    } else {
      UnpackInPlace(services, level.folder, name);
    }
    MoveIntoLevelFolder(services, level);
    return true;
  }
};

}  // namespace

const ArchiveKind& GzipArchives() {
  static const GzipKind kind;
  return kind;
}

}  // namespace hv::tessary
