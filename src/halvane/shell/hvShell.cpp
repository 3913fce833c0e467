// The launch pattern every launcher shares, the SID player and the default-program shell.

#include "halvane/shell/hvShell.h"

#include <exception>
#include <utility>

#include "common/error.h"

namespace hv::halvane {

hvShell::hvShell(FunctionsFactory functions, platform::ProcessService& process,
                 ShellPathRules rules)
    : functions_(std::move(functions)), process_(process), rules_(rules) {}

std::unique_ptr<LauncherFunctionsOps> hvShell::MakeFunctions() const {
  std::unique_ptr<LauncherFunctionsOps> fn = functions_ ? functions_() : nullptr;
  if (!fn) throw Error(vberr::kCannotCreateObject);
  return fn;
}

std::string hvShell::Launch(const char* error_prefix,
                            const std::function<std::string(LauncherFunctionsOps&)>& body) {
  try {
    const std::unique_ptr<LauncherFunctionsOps> fn = MakeFunctions();
    return body(*fn);
  } catch (...) {
    const FailureReason failure = CaughtFailure();
    return error_prefix + NumberText(failure.number) + ": " + failure.description;
  }
}

std::string hvShell::DirectoryOf(FunctionsOps& fn, const std::string& path) {
  std::string dir, file;
  fn.GetFileAndPath(path, dir, file);
  return dir;
}

std::string hvShell::WithSeparator(std::string dir) const {
  if (dir.empty() || dir.back() != rules_.separator) dir += rules_.separator;
  return dir;
}

std::string hvShell::DriveRoot(const std::string& dir) const {
  return rules_.drive_letters ? dir.substr(0, 2) : dir;
}

void hvShell::MoveTo(const std::string& drive_source, const std::string& directory) {
  process_.ChangeDrive(drive_source.substr(0, 1));
  process_.ChangeDirectory(directory);
}

void hvShell::Start(const CommandLine& line, bool lower) {
  process_.Start(line.Render(lower, rules_), platform::kWindowNormal);
}

void hvShell::PlayMusic(const std::string& PlayerPathAndFile, const std::string& MusicPath,
                        const std::string& SidFilename, const std::string& MsgBoxCaption,
                        std::int16_t DisplayError) {
  // Any failure ends the call silently; a missing file has been announced by the file test.
  try {
    const std::unique_ptr<LauncherFunctionsOps> fn = MakeFunctions();
    std::string player_dir, player_file;
    fn->GetFileAndPath(PlayerPathAndFile, player_dir, player_file);
    const std::string short_player_dir = fn->Long2Short(player_dir);
    const std::string short_music = fn->Long2Short(MusicPath);
    if (!fn->FileExists(PlayerPathAndFile, DisplayError, MsgBoxCaption)) return;
    if (!fn->FileExists(MusicPath + rules_.separator + SidFilename, DisplayError, MsgBoxCaption)) {
      return;
    }
    MoveTo(short_player_dir, short_player_dir);
    CommandLine line;
    line.Path(short_player_dir + rules_.separator + player_file)
        .Text(" ")
        .Path(short_music + rules_.separator + SidFilename);
    Start(line, false);
  } catch (const std::exception&) {
  }
}

void hvShell::PlayMusicSong(const std::string& PlayerPathAndFile, const std::string& MusicPath,
                            const std::string& SidFilename, std::int16_t intTune) {
  try {
    const std::unique_ptr<LauncherFunctionsOps> fn = MakeFunctions();
    std::string player_dir, player_file;
    fn->GetFileAndPath(PlayerPathAndFile, player_dir, player_file);
    const std::string short_player_dir = fn->Long2Short(player_dir);
    const std::string short_music = fn->Long2Short(MusicPath);
    MoveTo(short_player_dir, short_player_dir);
    CommandLine line;
    line.Path(short_player_dir + rules_.separator + player_file)
        .Text(" -o" + NumberText(intTune) + " ")
        .Path(short_music + rules_.separator + SidFilename);
    Start(line, false);
  } catch (const std::exception&) {
  }
}

void hvShell::ShellWithDefaultProgram(const std::string& FileToShell, std::int32_t ParentHwnd) {
  try {
    process_.OpenWithDefaultProgram(FileToShell, ParentHwnd);
  } catch (const std::exception&) {
    // The desktop shows its own failures; none is reported from here.
  }
}

}  // namespace hv::halvane
