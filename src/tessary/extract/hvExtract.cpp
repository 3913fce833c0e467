// hvExtract: Extract, the level-by-level examination, the choice among several game files and
// the move of the result.

#include "tessary/extract/hvExtract.h"

#include <algorithm>
#include <new>

#include "common/path_split.h"
#include "common/upper_case.h"
#include "platform/file_ops.h"
#include "platform/filesystem.h"
#include "platform/path_separator.h"
#include "tessary/extract/extract_limits.h"
#include "tessary/extract/extract_texts.h"
#include "tessary/extract/folder_lister.h"
#include "tessary/extract/work_folder.h"
#include "tessary/extract/zip/zip_extract.h"

namespace hv::tessary {

using namespace texts;
using platform::kPathSeparator;

hvExtract::hvExtract(std::shared_ptr<halvane::FunctionsOps> Functions, ExtractServices services)
    : functions_(std::move(Functions)),
      process_(services.process ? services.process : &platform::SystemProcessService()),
      tools_(services.tools ? services.tools : &platform::SystemToolProcessService()),
      chooser_(services.chooser ? services.chooser : &platform::SystemFileChooser()),
      open_database_(services.open_database ? std::move(services.open_database)
                                            : platform::OpenGameDatabase),
      max_total_bytes_(services.max_total_bytes ? services.max_total_bytes
                                                : kExtractMaxTotalBytes) {
  if (!functions_) throw Error(vberr::kCannotCreateObject);
  const std::string interpreter = services.command_interpreter ? services.command_interpreter()
                                                               : platform::CommandInterpreterPath();
  // Where tools start directly there is no interpreter to put in front of them.
  if (!interpreter.empty()) com_spec_prefix_ = functions_->Long2Short(interpreter) + " /c ";
}

bool hvExtract::Extract(const std::string& AppPath, const std::string& FileToExtract,
                        const std::string& DatabaseFile, const std::string& CurrGameDIR,
                        std::string& ReturnFilename, std::string& ReturnFailInfo,
                        const std::string& FromProgram, const std::string& WinzipPath,
                        std::int32_t GameID) {
  level_ = 0;
  fail_info_.clear();
  result_file_.clear();
  from_program_ = FromProgram;
  database_file_ = DatabaseFile;
  game_id_ = GameID;
  app_path_ = AppPath;
  winzip_path_ = WinzipPath;
  status_ = 1;
  last_failure_ = {};
  zip_budget_ = max_total_bytes_;

  const std::string name = FileNamePart(FileToExtract);

  // Every later step works on the absolute path: a relative one would move with the current
  // directory, which the outside tools change.
  const std::string work = PrepareWorkFolder(CurrGameDIR, FileToExtract, *functions_);

  const std::string G = WithTrailingSeparator(work, kPathSeparator);
  result_folder_ = G + kResultFolderName + kPathSeparator;
  platform::CopyFileReplacing(FileToExtract, G + name);

  ProcessFolder(work);

  ReturnFilename = result_file_;
  ReturnFailInfo = fail_info_;
  return status_ == 0;
}

void hvExtract::ProcessFolder(std::string F) {
  try {
    ProcessFolderOrThrow(F);
  } catch (const Error& e) {
    ProcessFolderFailed(e);
  } catch (const std::bad_alloc&) {
    ProcessFolderFailed(Error(7));
  } catch (const std::exception& e) {
    ProcessFolderFailed(Error(51, e.what()));
  }
}

void hvExtract::ProcessFolderFailed(const Error& e) {
  result_file_.clear();
  fail_info_ = std::string(kErrorPrefix) + kCrLf + kCrLf + e.Description() + "  (" +
               std::to_string(e.Number()) + ")";
  status_ = 2;
  last_failure_ = {e.Number(), e.Description()};
}

void hvExtract::ProcessFolderOrThrow(const std::string& F) {
  ++level_;
  level_name_ = "P" + std::to_string(level_);
  if (level_ > kExtractMaxDepth) {
    throw Error(vberr::kOverflow, "The archive nests archives more than " +
                                      std::to_string(kExtractMaxDepth) +
                                      " levels deep; the extraction was stopped.");
  }
  const std::vector<std::string> names = ListNames(F, kCompatiblePattern);
  if (names.size() == 1) {
    Succeed(F, names[0]);
  } else if (names.size() > 1) {
    ChooseAmong(F, names);
  } else if (!Dispatch(F)) {
    NotCompatible(F);
  }
}

std::string hvExtract::RunChooser(const std::vector<std::string>& names) {
  // Every question starts without an answer: a previous choice never leaks into this one.
  chosen_file_.clear();
  chosen_file_ = chooser_->Choose(names, 0);
  if (!chosen_file_.empty() && std::find(names.begin(), names.end(), chosen_file_) == names.end()) {
    throw Error(vberr::kInvalidProcedureCall,
                "The chooser answered a file that was not offered: " + chosen_file_);
  }
  return chosen_file_;
}

std::string hvExtract::NoChoiceText(const std::string& F) {
  return std::string(kNoChoice) + kCrLf + kSeparator + ListFolder(F) + kSeparator;
}

void hvExtract::ChooseAmong(const std::string& F, const std::vector<std::string>& names) {
  if (from_program_ == kFromZenvora) {
    ChooseWithDatabase(F, names);
    return;
  }
  const std::string chosen = RunChooser(names);
  if (!chosen.empty()) {
    Succeed(F, chosen);
  } else {
    Fail(NoChoiceText(F));
  }
}

void hvExtract::ChooseWithDatabase(const std::string& F, const std::vector<std::string>& names) {
  std::unique_ptr<platform::GameDatabase> db = open_database_(database_file_);
  if (!db) throw Error(platform::kDbFileNotFound, "Could not find file '" + database_file_ + "'.");
  if (std::optional<platform::ArchiveRow> row = db->FirstArchiveRow(game_id_)) {
    const std::string wanted = UpperCase1252(row->file_to_run);
    const auto match = std::find_if(names.begin(), names.end(), [&wanted](const std::string& n) {
      return UpperCase1252(n) == wanted;
    });
    if (match != names.end()) {
      Succeed(F, *match);
      return;
    }
    // The remembered choice no longer fits the archive.
    db->DeleteArchiveRow(*row);
  }
  const std::string chosen = RunChooser(names);
  if (!chosen.empty()) {
    db->AddArchiveRow(game_id_, chosen);
    Succeed(F, chosen);
  } else {
    Fail(NoChoiceText(F));
  }
}

bool hvExtract::Dispatch(const std::string& F) {
  const std::string S = Join(F, level_name_);

  if (const auto zips = ListNames(F, "*.zip"); !zips.empty()) {
    platform::MakeFolder(S);
    ExtractZipBranch(F, zips[0], S);
    return true;
  }
  if (const auto lhas = ListNames(F, "*.lha;*.lzh"); !lhas.empty()) {
    if (!ToolPresent("lha.exe")) {
      Fail(kNeedLha);
      return true;
    }
    platform::MakeFolder(S);
    ExtractLha(F, lhas[0], S);
    ProcessFolder(S);
    return true;
  }
  if (const auto gzs = ListNames(F, "*.gz"); !gzs.empty()) {
    if (functions_->FileExists(winzip_path_, halvane::kVbFalse, "")) {
      platform::MakeFolder(S);
      ExtractWithWinZip(F, gzs[0], S);
      ProcessFolder(S);
    } else if (!ToolPresent("gunzip.exe")) {
      Fail(kNeedGunzip);
    } else if (gzs[0].find('+') != std::string::npos) {
      Fail(kNeedWinzipForPlus);
    } else {
      platform::MakeFolder(S);
      ExtractGzip(F, gzs[0], S, gzs);
      ProcessFolder(S);
    }
    return true;
  }
  if (const auto sets = ListNames(F, "1!*.*"); !sets.empty()) {
    if (!ToolPresent("zip2d64.exe")) {
      Fail(kNeedZip2d64);
      return true;
    }
    platform::MakeFolder(S);
    for (const std::string& N : sets) {
      const std::string short_name = FileNamePart(functions_->Long2Short(Join(F, N)));
      ExtractDiskSet(S, F, short_name.size() > 2 ? short_name.substr(2) : std::string(),
                     N.substr(2) + ".d64");
    }
    ProcessFolder(S);
    return true;
  }
  if (const auto lynxes = ListNames(F, "*.lnx"); !lynxes.empty()) {
    if (!ToolPresent("starlynx.exe")) {
      Fail(kNeedStarlynx);
      return true;
    }
    platform::MakeFolder(S);
    for (const std::string& N : lynxes) {
      ExtractLynx(S, F, FileNamePart(functions_->Long2Short(Join(F, N))));
    }
    ProcessFolder(S);
    return true;
  }
  if (const auto loose = ListNames(F, "*.*"); !loose.empty() && MoveLooseFiles(F, loose, S)) {
    ProcessFolder(S);
    return true;
  }
  return false;
}

void hvExtract::ExtractZipBranch(const std::string& F, const std::string& name,
                                 const std::string& S) {
  const std::string zip_path = Join(F, name);
  zip::ZipOptions options;
  options.overwrite = true;
  options.max_total_bytes = zip_budget_;
  const zip::ZipExtractResult result = zip::ExtractZip(zip_path, S, options);
  if (!result.ok) {
    Fail(std::string(kUnzipError) + kCrLf + kCrLf + zip_path + kCrLf + kCrLf + kPossiblyCorrupt);
    last_failure_ = result.failure;
    return;
  }
  // Every level's zip draws on the one budget of this extraction.
  for (const std::string& written : result.written) {
    const std::uint64_t size = platform::FileLength(Join(S, written));
    zip_budget_ = size < zip_budget_ ? zip_budget_ - size : 0;
  }
  ProcessFolder(S);
}

bool hvExtract::MoveLooseFiles(const std::string& F, const std::vector<std::string>& names,
                               const std::string& S) {
  bool moved = false;
  for (const std::string& N : names) {
    if (platform::FileLength(Join(F, N)) > kLooseFileMaxBytes) continue;
    moved = true;
    if (!functions_->DirExists(S)) platform::MakeFolder(S);
    // The extension is appended, not replaced: GAME.BIN becomes GAME.BIN.prg.
    platform::RenameFile(Join(F, N), Join(S, N + ".prg"));
  }
  return moved;
}

void hvExtract::NotCompatible(const std::string& F) {
  if (ListNames(F, "*.*").empty()) {
    Fail(std::string(kNotCompatible) + kNoGameFile);
  } else {
    Fail(std::string(kNotCompatible) + kCrLf + kSeparator + kCrLf + ListFolder(F) + kSeparator);
  }
}

std::string hvExtract::ListFolder(std::string F) {
  return ListFolderText(F);
}

void hvExtract::MoveResultFiles(std::string F) {
  const std::vector<std::string> names = ListNames(F, "*.*");
  platform::MakeFolder(result_folder_);
  for (const std::string& N : names) platform::RenameFile(Join(F, N), result_folder_ + N);
  // The top level holds the result folder itself: deleting it would take the result along.
  if (!platform::PathIsWithin(result_folder_, F)) functions_->DeletePathSilent(F);
}

void hvExtract::Succeed(const std::string& F, const std::string& name) {
  result_file_ = result_folder_ + name;
  fail_info_.clear();
  MoveResultFiles(F);
  status_ = 0;
}

void hvExtract::Fail(const std::string& text) {
  result_file_.clear();
  fail_info_ = text;
  status_ = 2;
  last_failure_ = {0, text};
}

std::string hvExtract::Join(const std::string& folder, const std::string& name) const {
  return folder + kPathSeparator + name;
}

std::string hvExtract::FileNamePart(const std::string& path) {
  // One variable for both outputs: the file name is written last and stays.
  std::string part;
  functions_->GetFileAndPath(path, part, part);
  return part;
}

bool hvExtract::ToolPresent(const std::string& name) {
  return functions_->FileExists(name, halvane::kVbFalse, "");
}

}  // namespace hv::tessary
