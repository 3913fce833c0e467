// hvExtract: Extract, the level-by-level examination, the choice among several game files and
// the move of the result. Unpacking belongs to the archive kinds (unpack/).

#include "tessary/extract/hvExtract.h"

#include <algorithm>

#include "common/path_split.h"
#include "common/upper_case.h"
#include "platform/file_ops.h"
#include "platform/path_separator.h"
#include "tessary/extract/extract_limits.h"
#include "tessary/extract/extract_texts.h"
#include "tessary/extract/folder_lister.h"
#include "tessary/extract/unpack/archive_kind.h"
#include "tessary/extract/unpack/kind_support.h"
#include "tessary/extract/unpack/kinds.h"
#include "tessary/extract/unpack/unpack_limits.h"
#include "tessary/extract/work_folder.h"

namespace hv::tessary {

using namespace texts;
using platform::kPathSeparator;

namespace {

halvane::FunctionsOps& Required(const std::shared_ptr<halvane::FunctionsOps>& functions) {
  if (!functions) throw Error(vberr::kCannotCreateObject);
  return *functions;
}

}  // namespace

hvExtract::hvExtract(std::shared_ptr<halvane::FunctionsOps> Functions, ExtractServices services)
    : functions_(std::move(Functions)),
      chooser_(services.chooser ? services.chooser : &platform::SystemFileChooser()),
      open_database_(services.open_database ? std::move(services.open_database)
                                            : platform::OpenGameDatabase),
      tools_(services.process ? *services.process : platform::SystemProcessService(),
             services.tools ? *services.tools : platform::SystemToolProcessService(),
             Required(functions_), services.run_found_tools.value_or(platform::kRunFoundTools)),
      max_total_bytes_(services.max_total_bytes ? services.max_total_bytes
                                                : unpack::kDefaultBudget),
      game_files_(services.game_files) {}

bool hvExtract::Extract(const std::string& /*AppPath*/, const std::string& FileToExtract,
                        const std::string& DatabaseFile, const std::string& CurrGameDIR,
                        std::string& ReturnFilename, std::string& ReturnFailInfo,
                        const std::string& FromProgram, const std::string& WinzipPath,
                        std::int32_t GameID) {
  call_ = ExtractCall{};
  call_.from_program = FromProgram;
  call_.database_file = DatabaseFile;
  call_.winzip_path = WinzipPath;
  call_.game_id = GameID;
  call_.status = 1;
  call_.budget = max_total_bytes_;

  const std::string name = FileNamePart(*functions_, FileToExtract);

  // Every later step works on the absolute path: a relative one would move with the current
  // directory, which the outside tools change.
  const std::string work = PrepareWorkFolder(CurrGameDIR, FileToExtract, *functions_);

  const std::string work_with_separator = WithTrailingSeparator(work, kPathSeparator);
  call_.result_folder = work_with_separator + kResultFolderName + kPathSeparator;
  platform::CopyFileReplacing(FileToExtract, work_with_separator + name);

  ProcessFolder(work);

  ReturnFilename = call_.result_file;
  ReturnFailInfo = call_.fail_info;
  return call_.status == 0;
}

void hvExtract::ProcessFolder(const std::string& folder) {
  try {
    ExamineLevel(folder);
  } catch (...) {
    ReportFailure(CaughtFailure());
  }
}

void hvExtract::ReportFailure(const FailureReason& why) {
  call_.result_file.clear();
  call_.fail_info = std::string(kErrorPrefix) + kCrLf + kCrLf + why.description + "  (" +
                    std::to_string(why.number) + ")";
  call_.status = 2;
  call_.last_failure = why;
}

void hvExtract::ExamineLevel(const std::string& folder) {
  ++call_.level;
  call_.level_name = "P" + std::to_string(call_.level);
  if (call_.level > kExtractMaxDepth) {
    throw Error(vberr::kOverflow, "The archive nests archives more than " +
                                      std::to_string(kExtractMaxDepth) +
                                      " levels deep; the extraction was stopped.");
  }
  const std::vector<std::string> names = ListNames(folder, GameFilePatterns(game_files_));
  if (names.size() == 1) {
    Succeed(folder, names[0]);
  } else if (names.size() > 1) {
    ChooseAmong(folder, names);
  } else if (!UnpackLevel(folder)) {
    NotCompatible(folder);
  }
}

bool hvExtract::UnpackLevel(const std::string& folder) {
  for (const ArchiveKind* kind : ArchiveKinds()) {
    std::vector<std::string> names = ListNames(folder, kind->Patterns());
    if (kind == &LooseFiles()) {
      std::erase_if(names,
                    [this](const std::string& n) { return !LooseCandidate(game_files_, n); });
    }
    if (names.empty()) continue;
    const ArchiveLevel level{folder, JoinPath(folder, call_.level_name), std::move(names),
                             call_.winzip_path};
    UnpackServices services{*functions_, tools_, call_.budget};
    try {
      if (!kind->Unpack(level, services)) return false;
    } catch (...) {
      const FailureReason why = CaughtFailure();
      const std::string text = kind->FailureText(level, std::current_exception());
      if (text.empty()) {
        ReportFailure(why);
      } else {
        Fail(text, why);
      }
      return true;
    }
    ProcessFolder(level.level_folder);
    return true;
  }
  return false;
}

std::string hvExtract::RunChooser(const std::vector<std::string>& names) {
  std::string chosen = chooser_->Choose(names, 0);
  if (!chosen.empty() && std::find(names.begin(), names.end(), chosen) == names.end()) {
    throw Error(vberr::kInvalidProcedureCall,
                "The chooser answered a file that was not offered: " + chosen);
  }
  return chosen;
}

std::string hvExtract::NoChoiceText(const std::string& folder) const {
  return std::string(kNoChoice) + kCrLf + kSeparator + ListFolder(folder) + kSeparator;
}

void hvExtract::ChooseAmong(const std::string& folder, const std::vector<std::string>& names) {
  if (call_.from_program == kFromZenvora) {
    ChooseWithDatabase(folder, names);
    return;
  }
  const std::string chosen = RunChooser(names);
  if (!chosen.empty()) {
    Succeed(folder, chosen);
  } else {
    Fail(NoChoiceText(folder));
  }
}

void hvExtract::ChooseWithDatabase(const std::string& folder,
                                   const std::vector<std::string>& names) {
  std::unique_ptr<platform::GameDatabase> db = open_database_(call_.database_file);
  if (!db) {
    throw Error(platform::kDbFileNotFound, "Could not find file '" + call_.database_file + "'.");
  }
  if (std::optional<platform::ArchiveRow> row = db->FirstArchiveRow(call_.game_id)) {
    const std::string wanted = UpperCase1252(row->file_to_run);
    const auto match = std::find_if(names.begin(), names.end(), [&wanted](const std::string& n) {
      return UpperCase1252(n) == wanted;
    });
    if (match != names.end()) {
      Succeed(folder, *match);
      return;
    }
    // The remembered choice no longer fits the archive.
    db->DeleteArchiveRow(*row);
  }
  const std::string chosen = RunChooser(names);
  if (!chosen.empty()) {
    db->AddArchiveRow(call_.game_id, chosen);
    Succeed(folder, chosen);
  } else {
    Fail(NoChoiceText(folder));
  }
}

void hvExtract::NotCompatible(const std::string& folder) {
  if (ListNames(folder, "*.*").empty()) {
    Fail(std::string(kNotCompatible) + kNoGameFile);
  } else {
    Fail(std::string(kNotCompatible) + kCrLf + kSeparator + kCrLf + ListFolder(folder) +
         kSeparator);
  }
}

void hvExtract::MoveResultFiles(const std::string& folder) {
  const std::vector<std::string> names = ListNames(folder, "*.*");
  platform::MakeFolder(call_.result_folder);
  for (const std::string& name : names) {
    platform::RenameFile(JoinPath(folder, name), call_.result_folder + name);
  }
  // The top level holds the result folder itself: deleting it would take the result along.
  if (!platform::PathIsWithin(call_.result_folder, folder)) functions_->DeletePathSilent(folder);
}

void hvExtract::Succeed(const std::string& folder, const std::string& name) {
  call_.result_file = call_.result_folder + name;
  call_.fail_info.clear();
  MoveResultFiles(folder);
  call_.status = 0;
}

void hvExtract::Fail(const std::string& text, FailureReason why) {
  call_.result_file.clear();
  call_.fail_info = text;
  call_.status = 2;
  call_.last_failure = why.empty() ? FailureReason{0, text} : std::move(why);
}

}  // namespace hv::tessary
