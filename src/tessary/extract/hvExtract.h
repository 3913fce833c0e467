#pragma once
// hvExtract: turns a stored game file into one playable game file. Extract copies the stored
// file into a working folder and examines it level by level (P1, P1\P2, ...): one game file is
// the result, several are settled by the game database or the chooser, none makes the first
// archive of a known kind unpack into the next level. The result's folder is moved into
// "ReZip" below the working folder.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/error.h"
#include "halvane/functions/functions_ops.h"
#include "platform/chooser.h"
#include "platform/game_database.h"
#include "platform/process.h"

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
  // The command interpreter's path (COMSPEC), for ComSpecPrefix only: the tools always start
  // directly, since the interpreter would read an archive's names as commands.
  std::function<std::string()> command_interpreter;
  // Bytes the zip branch may write in one extraction; 0 is kExtractMaxTotalBytes.
  std::uint64_t max_total_bytes = 0;
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
  std::int32_t Status() const noexcept { return status_; }
  std::int16_t Level() const noexcept { return level_; }
  const std::string& LevelName() const noexcept { return level_name_; }
  const std::string& ResultFolder() const noexcept { return result_folder_; }
  const std::string& ComSpecPrefix() const noexcept { return com_spec_prefix_; }
  // Why the last Extract failed: the error behind a failure report, or the text's own case.
  const FailureReason& LastFailure() const noexcept { return last_failure_; }

 private:
  void ProcessFolder(std::string F);
  void ProcessFolderOrThrow(const std::string& F);
  void ProcessFolderFailed(const Error& e);
  std::string RunChooser(const std::vector<std::string>& names);
  std::string NoChoiceText(const std::string& F);
  void ChooseAmong(const std::string& F, const std::vector<std::string>& names);
  void ChooseWithDatabase(const std::string& F, const std::vector<std::string>& names);
  bool Dispatch(const std::string& F);
  void ExtractZipBranch(const std::string& F, const std::string& name, const std::string& S);
  bool MoveLooseFiles(const std::string& F, const std::vector<std::string>& names,
                      const std::string& S);
  void NotCompatible(const std::string& F);

  // The outside tools.
  void ExtractDiskSet(std::string S, std::string F, std::string ShortBaseName,
                      std::string TargetName);
  void ExtractLynx(std::string S, std::string F, std::string ShortFileName);
  void ExtractLha(std::string F, std::string N, std::string S);
  void ExtractGzip(std::string F, std::string N, std::string S,
                   const std::vector<std::string>& gz_names);
  void ExtractWithWinZip(std::string F, std::string N, std::string S);

  std::string ListFolder(std::string F);
  void MoveResultFiles(std::string F);

  void Succeed(const std::string& F, const std::string& name);
  void Fail(const std::string& text);
  std::string Join(const std::string& folder, const std::string& name) const;
  std::string FileNamePart(const std::string& path);
  // Starts an outside tool directly, never through the command interpreter (extract_tools.cpp).
  void RunTool(platform::ToolCommand command, int window_style);
  void MakeCurrent(const std::string& F);
  bool ToolPresent(const std::string& name);

  std::shared_ptr<halvane::FunctionsOps> functions_;
  platform::ProcessService* process_;
  platform::ToolProcessService* tools_;
  platform::FileChooser* chooser_;
  std::function<std::unique_ptr<platform::GameDatabase>(const std::string&)> open_database_;
  std::string com_spec_prefix_;

  std::int32_t status_ = 0;
  std::int16_t level_ = 0;
  std::string level_name_;
  std::string result_folder_;
  std::string result_file_;
  std::string fail_info_;
  std::string from_program_, database_file_, winzip_path_, app_path_;
  std::int32_t game_id_ = 0;
  std::string chosen_file_;
  std::uint64_t max_total_bytes_;
  std::uint64_t zip_budget_ = 0;
  FailureReason last_failure_;
};

}  // namespace hv::tessary
