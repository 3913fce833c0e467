#include "tessary/extract/work_folder.h"

#include <cstdint>
#include <string_view>

#include "common/error.h"
#include "common/path_split.h"
#include "common/upper_case.h"
#include "platform/file_ops.h"
#include "platform/file_writer.h"
#include "platform/filesystem.h"
#include "platform/path_separator.h"
#include "tessary/extract/extract_texts.h"

namespace hv::tessary {
namespace {

using platform::kPathSeparator;

constexpr std::string_view kMarkerText =
    "This folder is the working folder of game extractions: the next extraction deletes it "
    "with everything in it.\r\n";

[[noreturn]] void Refuse(const std::string& folder, const std::string& reason) {
  throw Error(vberr::kPathFileAccess,
              "The working folder '" + folder + "' is not deleted: " + reason + ".");
}

// P1, P2, ...: the level folders; "ReZip": the result folder.
bool IsExtractionFolderName(const std::string& name) {
  const std::string upper = UpperCase1252(name);
  if (upper == UpperCase1252(texts::kResultFolderName)) return true;
  if (upper.size() < 2 || upper[0] != 'P') return false;
  return upper.find_first_not_of("0123456789", 1) == std::string::npos;
}

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
  return path;
}

std::string ParentOf(const std::string& absolute) {
  const std::string path = WithoutTrailingSeparators(absolute);
  const std::size_t cut = path.find_last_of(kPathSeparator);
  if (cut == std::string::npos) return path;
  // Keep the separator of a root ("/", "C:\").
  return path.substr(0, cut == 0 || (cut > 0 && path[cut - 1] == ':') ? cut + 1 : cut);
}

void WriteMarker(const std::string& folder) {
  platform::FileWriter writer = platform::FileWriter::CreateTempIn(folder);
  writer.Write({reinterpret_cast<const std::uint8_t*>(kMarkerText.data()), kMarkerText.size()});
  const std::string marker = platform::PathInFolder(folder, kWorkFolderMarker);
  writer.Commit(marker);
  platform::HideFile(marker);
}

}  // namespace

WorkFolderContent InspectWorkFolder(const std::string& folder) {
  platform::FindEnumeration find(WithTrailingSeparator(folder, kPathSeparator) + "*");
  platform::FindData data;
  bool marked = false, foreign = false;
  int files = 0, extraction_folders = 0;
  while (find.Next(data)) {
    const std::string name = data.name.substr(0, data.name.find('\0'));
    if (name == "." || name == ".." || name.empty()) continue;
    const bool is_folder = (data.attributes & platform::attr::kDirectory) != 0;
    if (name == kWorkFolderMarker && !is_folder) {
      marked = true;
    } else if (is_folder && IsExtractionFolderName(name)) {
      ++extraction_folders;
    } else if (is_folder) {
      foreign = true;
    } else {
      ++files;
    }
  }
  if (marked) return WorkFolderContent::kMarked;
  if (!foreign && files == 0 && extraction_folders == 0) return WorkFolderContent::kEmpty;
  // An earlier extraction leaves its levels or result, and at most the stored file beside them;
  // one that failed before its first level (a stored file too large for a loose file) leaves
  // that file alone.
  if (!foreign && files <= 1) return WorkFolderContent::kEarlierLayout;
  return WorkFolderContent::kForeign;
}

std::string PrepareWorkFolder(const std::string& CurrGameDIR, const std::string& FileToExtract,
                              halvane::FunctionsOps& functions) {
  // The name as given first: "C:" alone is a drive's current folder, whatever that is now.
  if (const std::string reason = platform::ProtectedFolderReason(CurrGameDIR); !reason.empty()) {
    Refuse(CurrGameDIR, reason);
  }
  const std::string work = platform::AbsolutePath(CurrGameDIR);
  // The delete takes wildcards in its last part: "W*" would remove every sibling it matches.
  if (work.find_first_of("*?") != std::string::npos) Refuse(work, "its name holds a wildcard");
  if (const std::string reason = platform::ProtectedFolderReason(work); !reason.empty()) {
    Refuse(work, reason);
  }
  if (!FileToExtract.empty() && platform::PathIsWithin(FileToExtract, work)) {
    Refuse(work, "it holds the stored file '" + FileToExtract + "'");
  }
  if (const std::uint32_t a = platform::FileAttributes(work); a != platform::attr::kInvalid) {
    if (!(a & platform::attr::kDirectory)) Refuse(work, "it is a file, not a folder");
    if (InspectWorkFolder(work) == WorkFolderContent::kForeign) {
      Refuse(work, "it is not empty and holds files an extraction did not make");
    }
  }
  // An outside tool of an earlier call left the current directory inside the working folder;
  // a folder in use as the current directory cannot be deleted, so step out of it first.
  if (const std::string cwd = platform::CurrentDir();
      !cwd.empty() && platform::PathIsWithin(cwd, work)) {
    platform::SetCurrentDir(ParentOf(work));
  }
  const std::string bare = WithoutTrailingSeparators(work);
  functions.DeletePathSilent(bare);
  platform::MakeFolder(bare);
  WriteMarker(bare);
  return work;
}

}  // namespace hv::tessary
