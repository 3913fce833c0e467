#pragma once
// The launch shared by hv launch and hv play: the arguments of a launcher call, their options,
// and the call itself on hvShell (a dry run prints instead of starting).

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
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
  bool write_config = false, wait = false, dry_run = false;
};

// Accepts a launcher name in any case and puts it as the table writes it; any other word is a
// usage error that lists the launchers.
CLI::Validator LauncherName();

// The emulator settings (ports, controls, index, configuration writing, --dry-run).
void AddLaunchSettings(CLI::App* cmd, LaunchArgs& a);

// Runs the launcher `a.method` for the hv command `command`; "" on success, else the message
// to show (console text): the launcher's own, or which program could not be run.
std::string Launch(const LaunchArgs& a, const std::string& command);

}  // namespace hv::cli
