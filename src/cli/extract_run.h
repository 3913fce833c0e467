#pragma once
// The extraction hv extract and hv play share: the arguments, their options, the run on
// hvExtract and how its outcome is shown.

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

#include "cli/failure_texts.h"
#include "platform/chooser.h"

namespace hv::cli {

struct ExtractArgs {
  std::string command = "hv extract";  // what ran, for every message
  std::string archive, work, db, from, winzip, choose;
  std::int32_t game_id = 0;
  bool from_given = false, choose_given = false, json = false;
  // The automation interface's list of game files instead of every kind VICE autostarts.
  bool classic = false;
};

struct ExtractOutcome {
  bool ok = false;
  std::string file, fail;  // core text
  FailureReason why;       // the error behind a failure
  std::string message;     // hv's own account of the failure (console text), or ""
};

// Runs the extraction; `chooser` answers when no --choose was given.
ExtractOutcome RunExtract(const ExtractArgs& a, platform::FileChooser* chooser = nullptr);

void AddExtractOptions(CLI::App* cmd, ExtractArgs& a);

// Prints the outcome (JSON with --json) and sets the exit code. Messages go to stderr with
// LF line ends, prefixed by a.command.
void Finish(const ExtractArgs& a, const ExtractOutcome& o);

// The working folder hv extract and hv play use when none is given: hv/work in the user's
// cache folder ($XDG_CACHE_HOME, else ~/.cache), made when missing.
std::string DefaultWorkFolder();

}  // namespace hv::cli
