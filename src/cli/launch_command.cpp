// hv launch / play-sid / open: the emulator launchers, the SID player and the default-program
// shell. With --dry-run nothing is started and no configuration file changes: the command line,
// the keys that would be written and the folder it would start in are printed instead.

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/dry_run_functions.h"
#include "cli/failure_texts.h"
#include "cli/launch_shell.h"
#include "cli/watched_process.h"
#include "common/cmdline.h"
#include "common/text.h"
#include "common/upper_case.h"
#include "halvane/functions/hvFunctions.h"
#include "halvane/shell/hvShell.h"
#include "halvane/shell/shell_enums.h"
#include "platform/path_separator.h"
#include "platform/recording_process.h"

namespace hv::cli {

namespace {

using halvane::hvShell;

struct PlayArgs {
  std::string player, music_path, file, caption = "hv";
  std::int16_t tune = 0;
  bool tune_given = false, quiet = false, dry_run = false;
};

struct OpenArgs {
  std::string file;
  std::int32_t parent = 0;
  bool dry_run = false;
};

std::string Core(const std::string& utf8) {
  return Utf8ToCp1252(utf8);
}

// A file named on the command line, made absolute: the launchers start the program in its own
// folder, where a relative game path would name nothing. Empty stays empty.
std::string CorePath(const std::string& arg) {
#ifdef _WIN32
  return Core(arg);  // ANSI paths: the launcher's short forms are taken as given
#else
  if (arg.empty()) return arg;
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(arg, ec);
  return Core(ec ? arg : absolute.lexically_normal().string());
#endif
}
std::string Show(const std::string& core) {
  return Cp1252ToUtf8(core);
}

// The enumeration members, accepted wherever a control value is asked for.
const std::map<std::string, std::string>& EnumNames() {
  static const std::map<std::string, std::string> names = [] {
    std::map<std::string, std::string> m;
    for (const halvane::ShellEnumMember& member : halvane::kShellEnumMembers) {
      m[std::string(member.name)] = std::to_string(member.value);
    }
    return m;
  }();
  return names;
}

CLI::Option* Control(CLI::App* cmd, const std::string& names, std::int32_t& value,
                     const std::string& help) {
  return cmd->add_option(names, value, help + " (a number or a member name)")
      ->transform(CLI::Transformer(EnumNames(), CLI::ignore_case))
      ->option_text("NUMBER|NAME");
}

struct ShellOutcome {
  std::string result;                                    // the method's own result
  std::optional<WatchedProcessService::Failure> failed;  // a start that did not happen
};

// Runs `call` on a shell over the general functions; in a dry run with recording in place of
// the process service and of configuration edits, and prints what would have happened.
template <class Call>
ShellOutcome RunShell(bool dry_run, Call call) {
  if (!dry_run) {
    WatchedProcessService process(platform::SystemProcessService());
    hvShell shell{[] { return std::make_unique<halvane::hvFunctions>(); }, process};
    std::string result = call(shell);
    return {std::move(result), process.failure()};
  }
  std::vector<ConfigEdit> edits;
  platform::RecordingProcessService process;
  hvShell shell{[&edits] {
                  return std::make_unique<DryRunFunctions>(std::make_unique<halvane::hvFunctions>(),
                                                           edits);
                },
                process};
  std::string result = call(shell);
  for (const ConfigEdit& edit : edits) {
    std::printf("config file: %s\n", Show(edit.file).c_str());
    for (const auto& [key, value] : edit.entries) {
      std::printf("  %s=%s\n", Show(key).c_str(), Show(value).c_str());
    }
  }
  for (const auto& started : process.started) {
    std::printf("folder: %s\n", Show(started.directory).c_str());
    std::printf("command line: %s\n", Show(started.command_line).c_str());
    std::printf("window style: %d\n", started.window_style);
  }
  for (const auto& opened : process.opened) {
    std::printf("open: %s\n", Show(opened.file).c_str());
  }
  return {std::move(result), std::nullopt};
}

// The program a failed start was to run, as the console shows it.
std::string ProgramOf(const WatchedProcessService::Failure& failed) {
  const std::vector<std::string> args = SplitCommandLine(failed.command_line);
  return Show(args.empty() ? failed.command_line : args.front());
}

// Says so and sets the failure code when `path` (console text) names no file.
bool ReportMissing(const char* command, const std::string& path, bool quiet) {
  if (halvane::hvFunctions().FileExists(CorePath(path), halvane::kVbFalse, "")) return false;
  if (!quiet) std::fprintf(stderr, "hv %s: %s: file not found\n", command, path.c_str());
  ResultCode() = kExitFailed;
  return true;
}

// What a launcher is called with: the arguments, paths made absolute, texts converted.
struct LaunchInputs {
  const LaunchArgs& a;
  std::string emu, game, dir, prg;
};

// The launchers METHOD names, each with its call on hvShell.
struct Launcher {
  const char* name;
  std::string (*call)(hvShell&, const LaunchInputs&);
};

constexpr Launcher kLaunchers[] = {
    {"CCS64v109",
     [](hvShell& s, const LaunchInputs& in) {
       const LaunchArgs& a = in.a;
       return s.CCS64v109(in.emu, in.dir, in.game, a.index, a.joy1, a.joy2, a.key1, a.key2,
                          a.write_config, a.wait);
     }},
    {"CCS64v20DosAndWin",
     [](hvShell& s, const LaunchInputs& in) {
       const LaunchArgs& a = in.a;
       return s.CCS64v20DosAndWin(in.emu, in.dir, in.game, a.index, a.control1, a.control2, a.mode1,
                                  a.mode2, a.write_config, a.wait);
     }},
    {"C64Sv252",
     [](hvShell& s, const LaunchInputs& in) {
       const LaunchArgs& a = in.a;
       return s.C64Sv252(in.emu, in.game, a.prg_given ? Variant(in.prg) : Variant(), a.control1,
                         a.control2, a.write_config, a.wait);
     }},
    {"VICE",
     [](hvShell& s, const LaunchInputs& in) {
       return s.VICE(in.emu, in.game, in.prg, in.a.port1, in.a.port2, in.a.wait);
     }},
    {"VICENoSettings",
     [](hvShell& s, const LaunchInputs& in) {
       return s.VICENoSettings(in.emu, in.game, in.prg, in.a.wait);
     }},
    {"Comeback64",
     [](hvShell& s, const LaunchInputs& in) {
       return s.Comeback64(in.emu, in.game, in.a.joystick, in.a.wait);
     }},
    {"Win64Beta",
     [](hvShell& s, const LaunchInputs& in) { return s.Win64Beta(in.emu, in.game, in.a.wait); }},
    {"PC64Win",
     [](hvShell& s, const LaunchInputs& in) { return s.PC64Win(in.emu, in.game, in.a.wait); }},
    {"Frodo", [](hvShell& s, const LaunchInputs& in) { return s.Frodo(in.emu, in.a.wait); }},
};

const Launcher* FindLauncher(const std::string& name) {
  for (const Launcher& launcher : kLaunchers) {
    if (name == launcher.name) return &launcher;
  }
  return nullptr;
}

std::vector<std::string> LauncherNames() {
  std::vector<std::string> names;
  for (const Launcher& launcher : kLaunchers) names.emplace_back(launcher.name);
  return names;
}

std::string UnknownLauncher(const std::string& word) {
  return UnknownLauncherText(word, LauncherNames());
}

}  // namespace

std::string Launch(const LaunchArgs& a, const std::string& command) {
  const Launcher* launcher = FindLauncher(a.method);
  if (launcher == nullptr) throw CLI::ValidationError(UnknownLauncher(a.method));
  const LaunchInputs in{a, CorePath(a.emulator), CorePath(a.game), CorePath(a.games_dir),
                        Core(a.prg)};
  const ShellOutcome outcome = RunShell(a.dry_run, [&](hvShell& s) -> std::string {
    s.SetViceOptions({a.exact_prg, CorePath(a.fliplist)});
    return launcher->call(s, in);
  });
  if (outcome.result.empty()) return {};
  // The launcher's "Error 53: File not found" would hide that the program is there.
  if (outcome.failed) return CannotRunText(command, ProgramOf(*outcome.failed));
  return Show(outcome.result);
}

void AddLaunchSettings(CLI::App* cmd, LaunchArgs& a) {
  cmd->add_option("--games-dir,--strEmulatorGamesDir", a.games_dir,
                  "The emulator's load path (CCS64)");
  cmd->add_option("--index,--intGameIndex", a.index, "Index behind the game path (CCS64)");
  Control(cmd, "--joy1,--intJOYPort1", a.joy1, "CCS64 1.09: $JOYSTICK1PC");
  Control(cmd, "--joy2,--intJOYPort2", a.joy2, "CCS64 1.09: $JOYSTICK2PC");
  Control(cmd, "--key1,--intKEYPort1", a.key1, "CCS64 1.09: $JOYSTICK1KEY");
  Control(cmd, "--key2,--intKEYPort2", a.key2, "CCS64 1.09: $JOYSTICK2KEY");
  Control(cmd, "--control1,--intPort1Control", a.control1, "CCS64 2.0 / C64S: port 1");
  Control(cmd, "--control2,--intPort2Control", a.control2, "CCS64 2.0 / C64S: port 2");
  Control(cmd, "--mode1,--intPort1Mode", a.mode1, "CCS64 2.0: port 1 mode");
  Control(cmd, "--mode2,--intPort2Mode", a.mode2, "CCS64 2.0: port 2 mode");
  Control(cmd, "--port1,--intPort1", a.port1, "VICE: joystick device of port 1");
  Control(cmd, "--port2,--intPort2", a.port2, "VICE: joystick device of port 2");
  Control(cmd, "--joystick,--DefaultJoystick", a.joystick, "Come Back 64: default port");
  cmd->add_flag("--write-config,--blnWriteToIniFile", a.write_config,
                "Write the settings into the emulator's configuration file first");
  cmd->add_flag("--wait,--blnWaitTillFinished", a.wait, "Accepted; the launch never waits");
  cmd->add_flag("--dry-run", a.dry_run, "Print what would be started; change nothing");
}

CLI::Validator LauncherName() {
  return CLI::Validator(
      [](std::string& word) -> std::string {
        for (const Launcher& launcher : kLaunchers) {
          if (UpperCase1252(word) == UpperCase1252(launcher.name)) {
            word = launcher.name;
            return {};
          }
        }
        return UnknownLauncher(word);
      },
      "{" + CLI::detail::join(LauncherNames()) + "}");
}

void RegisterLaunch(CLI::App& app) {
  static LaunchArgs a;
  auto* cmd = app.add_subcommand("launch", "Start an emulator with a game");
  cmd->add_option("METHOD", a.method, "The launcher")->required()->transform(LauncherName());
  cmd->add_option("--emulator,--strEmulatorExePath", a.emulator, "The emulator's program file")
      ->required();
  cmd->add_option("--game,--strGamePathAndFile", a.game, "The game file");
  cmd->add_option("--prg,--PRGName", a.prg, "Program to start from the image");
  AddLaunchSettings(cmd, a);
  cmd->callback([cmd] {
    a.prg_given = cmd->count("--prg") > 0;
    const std::string message = Launch(a, "launch");
    if (!message.empty()) {
      std::fprintf(stderr, "%s\n", message.c_str());
      ResultCode() = kExitFailed;
    }
  });
}

void RegisterPlaySid(CLI::App& app) {
  static PlayArgs a;
  auto* cmd = app.add_subcommand("play-sid", "Play a SID tune in a SID player");
  cmd->add_option("PLAYER", a.player, "The player's program file")->required();
  cmd->add_option("MUSICPATH", a.music_path, "Folder of the SID file")->required();
  cmd->add_option("FILE", a.file, "The SID file's name in that folder")->required();
  cmd->add_option("--tune,--intTune", a.tune, "Number of the tune to play");
  cmd->add_option("--caption,--MsgBoxCaption", a.caption, "Caption of the file-test messages");
  cmd->add_flag("--quiet", a.quiet, "Do not report a missing player or file (exit status 1)");
  cmd->add_flag("--dry-run", a.dry_run, "Print what would be started; change nothing");
  cmd->callback([cmd] {
    a.tune_given = cmd->count("--tune") > 0;
    // The player methods end silently on a missing file; hv says which one it was.
    if (ReportMissing("play-sid", a.player, a.quiet)) return;
    const std::string tune = a.music_path + platform::kPathSeparator + a.file;
    if (ReportMissing("play-sid", tune, a.quiet)) return;
    const ShellOutcome outcome = RunShell(a.dry_run, [](hvShell& s) {
      if (a.tune_given) {
        s.PlayMusicSong(CorePath(a.player), CorePath(a.music_path), Core(a.file), a.tune);
      } else {
        s.PlayMusic(CorePath(a.player), CorePath(a.music_path), Core(a.file), Core(a.caption),
                    a.quiet ? halvane::kVbFalse : halvane::kVbTrue);
      }
      return std::string();
    });
    if (outcome.failed) {
      std::fprintf(stderr, "%s\n", CannotRunText("play-sid", ProgramOf(*outcome.failed)).c_str());
      ResultCode() = kExitFailed;
    }
  });
}

void RegisterOpen(CLI::App& app) {
  static OpenArgs a;
  auto* cmd = app.add_subcommand("open", "Open a file with its default program");
  cmd->add_option("FILE", a.file, "The file to open")->required();
  cmd->add_option("--parent,--ParentHwnd", a.parent, "Parent window handle");
  cmd->add_flag("--dry-run", a.dry_run, "Print what would be opened; open nothing");
  cmd->callback([] {
    if (ReportMissing("open", a.file, false)) return;
    const ShellOutcome outcome = RunShell(a.dry_run, [](hvShell& s) {
      s.ShellWithDefaultProgram(Core(a.file), a.parent);
      return std::string();
    });
    if (outcome.failed) {
      std::fprintf(stderr, "hv open: cannot open %s: %s\n", a.file.c_str(),
                   Show(outcome.failed->error.Description()).c_str());
      ResultCode() = kExitFailed;
    }
  });
}

}  // namespace hv::cli
