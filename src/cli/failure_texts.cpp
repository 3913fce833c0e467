#include "cli/failure_texts.h"

#include <filesystem>

#include <system_error>
#include "cli/console_text.h"

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
  return "the disk is full: " + archive + " could not be unpacked into " + work;
}

std::string NoSuchChoiceText(const std::string& answer, const std::vector<std::string>& names) {
  return "--choose \"" + answer + "\" matches none of the game files: " + Joined(names);
}

std::string ChooseHintText(const std::vector<std::string>& names) {
  return "it holds several game files and none was chosen; choose one with --choose NAME: " +
         Joined(names);
}

std::string PeopleText(const std::string& failure) {
  // The separator line of the failure texts, which they run into the names around it.
  static const std::string kSeparator(32, '-');
  std::string text = failure;
  for (std::size_t at = text.find(kSeparator); at != std::string::npos;
       at = text.find(kSeparator, at)) {
    if (at > 0 && text[at - 1] != '\n' && text[at - 1] != '\r') text.insert(at++, "\n");
    at += kSeparator.size();
    if (at < text.size() && text[at] != '\n' && text[at] != '\r') text.insert(at, "\n");
  }
  text = LfLines(text);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
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
