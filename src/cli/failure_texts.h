#pragma once
// The command line's own failure messages: each names the path or value it is about. The
// automation interface keeps the methods' results; only hv prints these. Texts in and out are
// what the console shows (UTF-8 on Linux).

#include <string>
#include <vector>

#include "common/error.h"

namespace hv::cli {

// Why the program at `program` cannot be started, as the file system tells: "it does not
// exist", "it is a folder", "it is not executable", or "it could not be started".
std::string ProgramProblem(const std::string& program);

// "hv COMMAND: cannot run PROGRAM: REASON".
std::string CannotRunText(const std::string& command, const std::string& program);

// The message (after "COMMAND: ") for an extraction whose error behind the failure says more than
// the failure text (a full disk); "" when the failure text itself is the best account.
std::string ExtractReasonText(const FailureReason& why, const std::string& archive,
                              const std::string& work);

// The chooser was declined (no terminal, or no answer): how to choose without it.
std::string ChooseHintText(const std::vector<std::string>& names);

// A failure text of the extraction as people read it in a terminal: LF line ends, each
// separator line on a line of its own, no line end at its end.
std::string PeopleText(const std::string& failure);

// --choose NAME when no offered file has that name.
std::string NoSuchChoiceText(const std::string& answer, const std::vector<std::string>& names);

// A word where a command of `parent` ("hv", "hv config") was expected.
std::string UnknownCommandText(const std::string& parent, const std::string& word,
                               const std::vector<std::string>& commands);

// A launcher name (hv launch METHOD, hv play --emulator) that names none of `launchers`.
std::string UnknownLauncherText(const std::string& word, const std::vector<std::string>& launchers);

}  // namespace hv::cli
