#include "cli/failure_texts.h"

#include <filesystem>
#include <system_error>

namespace hv::cli {
namespace {

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) {
    if (!out.empty()) out += ", ";
    out += item;
  }
  return out;
}

}  // namespace

std::string ProgramProblem(const std::string& program) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(fs::path(program), ec);
  if (ec || !fs::exists(st)) return "it does not exist";
  if (fs::is_directory(st)) return "it is a folder";
#ifndef _WIN32
  constexpr fs::perms kAnyExec =
      fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  if ((st.permissions() & kAnyExec) == fs::perms::none) return "it is not executable";
#endif
  return "it could not be started";
}

std::string CannotRunText(const std::string& command, const std::string& program) {
  return "hv " + command + ": cannot run " + program + ": " + ProgramProblem(program);
}

std::string ExtractReasonText(const FailureReason& why, const std::string& archive,
                              const std::string& work) {
  if (why.number != vberr::kDiskFull) return {};
  return "hv extract: the disk is full: " + archive + " could not be unpacked into " + work;
}

std::string NoSuchChoiceText(const std::string& answer, const std::vector<std::string>& names) {
  return "hv extract: --choose \"" + answer + "\" matches none of the game files: " + Joined(names);
}

std::string UnknownCommandText(const std::string& parent, const std::string& word,
                               const std::vector<std::string>& commands) {
  return parent + ": unknown command \"" + word + "\"; the commands are: " + Joined(commands);
}

std::string UnknownLauncherText(const std::string& word,
                                const std::vector<std::string>& launchers) {
  return "unknown launcher \"" + word + "\"; the launchers are: " + Joined(launchers);
}

}  // namespace hv::cli
