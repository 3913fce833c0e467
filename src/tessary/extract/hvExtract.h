#pragma once
// hvExtract: turns a stored game file into one playable game file. Extract copies the stored
// file into a working folder and examines it level by level (P1, P1\P2, ...): one game file is
// the result, several are settled by the game database or the chooser, none makes the first
// kind of archive the folder holds (unpack/archive_kind.h) unpack into the next level. The
// result's folder is moved into "ReZip" below the working folder.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "halvane/functions/functions_ops.h"
#include "platform/chooser.h"
#include "platform/game_database.h"
#include "platform/process.h"
#include "tessary/extract/extract_call.h"
#include "tessary/extract/game_files.h"
#include "tessary/extract/unpack/outside_tools.h"

namespace hv::tessary {

// What an extraction talks to besides the general functions; each left empty is the
// platform's own.
struct ExtractServices {
  // Current drive and directory changes before a tool runs.
  platform::ProcessService* process = nullptr;
  // Runs the outside tools and waits for them.
  platform::ToolProcessService* tools = nullptr;
  platform::FileChooser* chooser = nullptr;
  std::function<std::unique_ptr<platform::GameDatabase>(const std::string& file)> open_database;
  // Bytes the built-in unpackers may write in one extraction; 0 is unpack::kDefaultBudget.
  std::uint64_t max_total_bytes = 0;
  // Whether an outside tool that is found unpacks its kind of archive (the built-in unpacker
  // serves when it is missing), or the built-in unpackers always serve; unset is the
  // platform's way (platform::kRunFoundTools).
  std::optional<bool> run_found_tools;
  // The files taken for game files; the automation interface keeps the classic list.
  GameFileList game_files = GameFileList::kClassic;
};

class hvExtract {
 public:
  // Throws hv::Error 424 when `Functions` is missing, as creating the object would fail.
  explicit hvExtract(std::shared_ptr<halvane::FunctionsOps> Functions,
                     ExtractServices services = {});

  // True exactly when a game file was found: ReturnFilename then holds its path in the result
  // folder and ReturnFailInfo is "". Otherwise ReturnFilename is "" and ReturnFailInfo says
  // why. Preparing the working folder (copying the stored file, remaking CurrGameDIR) throws
  // hv::Error and leaves both outputs as they were; so does a CurrGameDIR that must never be
  // deleted (see work_folder.h).
  bool Extract(const std::string& AppPath, const std::string& FileToExtract,
               const std::string& DatabaseFile, const std::string& CurrGameDIR,
               std::string& ReturnFilename, std::string& ReturnFailInfo,
               const std::string& FromProgram, const std::string& WinzipPath,
               std::int32_t GameID = 0);

  // 1 while an extraction runs, 0 after success, 2 after failure.
  std::int32_t Status() const noexcept { return call_.status; }
  std::int16_t Level() const noexcept { return call_.level; }
  const std::string& LevelName() const noexcept { return call_.level_name; }
  const std::string& ResultFolder() const noexcept { return call_.result_folder; }
  // Why the last Extract failed: the error behind a failure report, or the text's own case.
  const FailureReason& LastFailure() const noexcept { return call_.last_failure; }

 private:
  // Examines one level; every failure below it ends in the failure report.
  void ProcessFolder(const std::string& folder);
  void ExamineLevel(const std::string& folder);
  // Unpacks the first kind of archive the folder holds; false when it holds none.
  bool UnpackLevel(const std::string& folder);
  void ChooseAmong(const std::string& folder, const std::vector<std::string>& names);
  void ChooseWithDatabase(const std::string& folder, const std::vector<std::string>& names);
  std::string RunChooser(const std::vector<std::string>& names);
  std::string NoChoiceText(const std::string& folder) const;
  void NotCompatible(const std::string& folder);
  void MoveResultFiles(const std::string& folder);

  void Succeed(const std::string& folder, const std::string& name);
  void Fail(const std::string& text, FailureReason why = {});
  void ReportFailure(const FailureReason& why);

  std::shared_ptr<halvane::FunctionsOps> functions_;
  platform::FileChooser* chooser_;
  std::function<std::unique_ptr<platform::GameDatabase>(const std::string&)> open_database_;
  OutsideTools tools_;
  std::uint64_t max_total_bytes_;
  GameFileList game_files_;
  ExtractCall call_;
};

}  // namespace hv::tessary
