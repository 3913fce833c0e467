// hv play: the whole road from a stored game archive to a running emulator.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/autostart_name.h"
#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/disk_set.h"
#include "cli/extract_run.h"
#include "cli/launch_shell.h"
#include "cli/play_disk_set.h"
#include "common/text.h"
#include "common/upper_case.h"
#include "platform/chooser.h"
#include "tessary/readers/hvD64.h"
#include "tessary/readers/hvT64.h"

namespace hv::cli {

namespace {

// The program an emulator should start from the game file: a disk's first PRG, a tape's first
// entry, as VICE takes it; none for a program file.
std::string FirstProgram(const std::string& game) {
  const std::string upper = UpperCase1252(game);
  const auto ends = [&upper](const char* ext) {
    const std::string e = ext;
    return upper.size() >= e.size() && upper.compare(upper.size() - e.size(), e.size(), e) == 0;
  };
  if (ends(".D64")) {
    tessary::hvD64 d64;
    if (d64.Load(game)) {
      for (const auto& e : d64.Entries()->All()) {
        if (e->FileType().find("PRG") != std::string::npos) {
          return ViceAutostartName(e->NameBytes());
        }
      }
    }
  } else if (ends(".T64")) {
    tessary::hvT64 t64;
    if (t64.Load(game) && !t64.Entries()->All().empty()) {
      return ViceAutostartName(t64.Entries()->All().front()->C64Filename());
    }
  }
  return {};
}

}  // namespace

void RegisterPlay(CLI::App& app) {
  static ExtractArgs a;
  a.command = "hv play";
  static LaunchArgs launch;
  auto* cmd = app.add_subcommand(
      "play", "Extract a stored game archive and start an emulator with the game file");
  AddExtractOptions(cmd, a);
  cmd->add_option("--work,--CurrGameDIR", a.work,
                  "The working folder (default: hv/work in the user's cache folder)");
  cmd->add_option("--emulator,--method", launch.method, "The launcher")
      ->required()
      ->transform(LauncherName());
  cmd->add_option("--emulator-path,--strEmulatorExePath", launch.emulator,
                  "The emulator's program file")
      ->required();
  cmd->add_option("--prg,--PRGName", launch.prg,
                  "Program to start (default: the image's first program)");
  AddLaunchSettings(cmd, launch);
  static bool m3u = false;
  cmd->add_flag("--m3u", m3u, "With several disks of one game, also write a playlist (.m3u)");
  cmd->callback([cmd] {
    a.from_given = cmd->count("--from") > 0;
    a.choose_given = cmd->count("--choose") > 0;
    if (a.work.empty()) a.work = DefaultWorkFolder();
    DiskSetChooser sets(platform::SystemFileChooser());
    const ExtractOutcome o = RunExtract(a, &sets);
    if (!o.ok) {
      Finish(a, o);
      return;
    }
    LaunchArgs l = launch;
    l.game = Cp1252ToUtf8(o.file);
    l.exact_prg = cmd->count("--prg") == 0;
    if (l.exact_prg) l.prg = Cp1252ToUtf8(FirstProgram(o.file));
    l.prg_given = !l.prg.empty();
    if (!sets.Disks().empty() && !PlayDiskSet(o.file, sets.Disks(), m3u, l)) return;
    std::printf("game file: %s\n", l.game.c_str());
    if (l.prg_given) std::printf("program: %s\n", l.prg.c_str());
    std::fflush(stdout);
    const std::string message = Launch(l, "play");
    if (!message.empty()) {
      std::fprintf(stderr, "%s\n", message.c_str());
      ResultCode() = kExitFailed;
    }
  });
}

}  // namespace hv::cli
