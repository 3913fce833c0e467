#pragma once
// The launch shared by hv launch and hv play: the arguments of a launcher call, their options,
// and the call itself on hvShell (a dry run prints instead of starting).

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace hv::cli {

struct LaunchArgs {
  std::string method;
  std::string emulator, game, games_dir, prg;
  bool prg_given = false;
  // hv play only: the program name is already the form VICE needs (never lowered), and the
  // fliplist of the game's other disks.
  bool exact_prg = false;
  std::string fliplist;
  std::int16_t index = 0;
  std::int32_t joy1 = 0, joy2 = 0, key1 = 0, key2 = 0;
  std::int32_t control1 = 0, control2 = 0, mode1 = 0, mode2 = 0;
  std::int32_t port1 = 0, port2 = 0, joystick = 0;
  bool write_config = false, wait = false, dry_run = false, json = false;
  // A dry run takes the emulator, the game file and the fliplist for present: hv play needs
  // none of them for one (its files are only extracted for real).
  bool assume_files = false;
};

// What a launch did or, in a dry run, would have done.
struct LaunchReport {
  std::string message;  // "" on success, else the failure (console text)
  bool started = false;
  std::string command_line, folder;  // console text; "" when nothing was to start
  int window_style = 0;
  std::vector<std::string> arguments;  // the command line as the program receives it
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> edits;
};

// Accepts a launcher name in any case and puts it as the table writes it; any other word is a
// usage error that lists the launchers.
CLI::Validator LauncherName();

// The emulator settings (ports, controls, index, configuration writing, --dry-run).
void AddLaunchSettings(CLI::App* cmd, LaunchArgs& a);

// Runs the launcher `a.method` for the hv command `command`. The report's message is the
// launcher's own, which program could not be run, or why a name or path typed or found cannot
// reach the emulator as one argument (nothing is started then).
LaunchReport Launch(const LaunchArgs& a, const std::string& command);

// Prints a report as text (what a dry run would do) on stdout, the failure on stderr, and sets
// the exit code; with `json` the report's fields go into `out` instead of being printed.
void ShowLaunch(const LaunchReport& r, bool dry_run, nlohmann::json* out);

}  // namespace hv::cli
