// VICE (with and without joystick settings), Come Back 64, Win64, PC64Win and Frodo: no
// configuration file, everything the emulator gets is on its command line.

#include "halvane/shell/hvShell.h"

namespace hv::halvane {

namespace {

constexpr char kQ[] = "\"";
constexpr char kViceNotFound[] = "Unable to run the VICE Emulator.  File: ";
constexpr char kViceError[] = "There was an error starting the VICE Emulator.  Error ";
constexpr char kCb64NotFound[] = "Unable to run the Come Back 64 Emulator.  File: ";
constexpr char kCb64Error[] = "There was an error starting the Come Back 64 Emulator.  Error ";
constexpr char kWin64NotFound[] = "Unable to run Win64 Beta.  File: ";
constexpr char kWin64Error[] = "There was an error starting Win64 Beta.  Error ";
constexpr char kPc64NotFound[] = "Unable to run PC64Win.  File: ";
constexpr char kPc64Error[] = "There was an error starting PC64Win.  Error ";
constexpr char kFrodoNotFound[] = "Unable to run Frodo.  File: ";
constexpr char kFrodoError[] = "There was an error starting Frodo.  Error ";

// The "not found" message for the first of `paths` that does not exist, else "".
std::string FirstMissing(FunctionsOps& fn, const char* not_found,
                         std::initializer_list<const std::string*> paths) {
  for (const std::string* p : paths) {
    if (!fn.FileExists(*p, false, "")) return not_found + *p + " not found";
  }
  return "";
}

// E [-flipname F] -autostart "G[:name]"; the fliplist and the exact name only for hv play.
void AddAutostart(CommandLine& line, FunctionsOps& fn, const std::string& emulator,
                  const std::string& game, const std::string& name,
                  const hvShell::ViceOptions& options) {
  line.Path(emulator);
  if (!options.fliplist.empty()) line.Text(" -flipname ").Path(fn.Long2Short(options.fliplist));
  line.Text(std::string(" -autostart ") + kQ).Path(game);
  if (!name.empty() && options.exact_program_name) {
    // Backslashes before the closing mark would escape it; doubled they stand for themselves.
    const std::size_t last = name.find_last_not_of('\\');
    const std::size_t trailing = name.size() - (last == std::string::npos ? 0 : last + 1);
    line.Text(":").Exact(name + std::string(trailing, '\\'));
  } else if (!name.empty()) {
    line.Text(":" + name);
  }
  line.Text(kQ);
}

}  // namespace

std::string hvShell::VICE(const std::string& strEmulatorExePath,
                          const std::string& strGamePathAndFile, const std::string& PRGName,
                          std::int32_t intPort1, std::int32_t intPort2,
                          bool /*blnWaitTillFinished*/) {
  return Launch(kViceError, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string game = fn.Long2Short(strGamePathAndFile);
    const std::string emulator = fn.Long2Short(strEmulatorExePath);
    const std::string dir = DirectoryOf(fn, strEmulatorExePath);
    std::string missing =
        FirstMissing(fn, kViceNotFound, {&strEmulatorExePath, &strGamePathAndFile});
    if (!missing.empty()) return missing;
    MoveTo(emulator, dir);
    CommandLine line;
    AddAutostart(line, fn, emulator, game, PRGName, vice_options_);
    line.Text(" -joydev1 " + NumberText(intPort1) + " -joydev2 " + NumberText(intPort2));
    Start(line, true);
    return "";
  });
}

std::string hvShell::Comeback64(const std::string& strEmulatorExePath,
                                const std::string& strGamePathAndFile, std::int32_t DefaultJoystick,
                                bool /*blnWaitTillFinished*/) {
  return Launch(kCb64Error, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string game = fn.Long2Short(strGamePathAndFile);
    const std::string emulator = fn.Long2Short(strEmulatorExePath);
    const std::string dir = DirectoryOf(fn, strEmulatorExePath);
    std::string missing =
        FirstMissing(fn, kCb64NotFound, {&strEmulatorExePath, &strGamePathAndFile});
    if (!missing.empty()) return missing;
    MoveTo(emulator, dir);
    CommandLine line;
    line.Path(emulator).Text(" /L").Path(game).Text(DefaultJoystick == SelectPort1 ? " /J1"
                                                                                   : " /J2");
    Start(line, true);
    return "";
  });
}

std::string hvShell::Win64Beta(const std::string& strEmulatorExePath,
                               const std::string& strGamePathAndFile,
                               bool /*blnWaitTillFinished*/) {
  return Launch(kWin64Error, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string dir = DirectoryOf(fn, strEmulatorExePath);
    std::string missing =
        FirstMissing(fn, kWin64NotFound, {&strEmulatorExePath, &strGamePathAndFile});
    if (!missing.empty()) return missing;
    MoveTo(strEmulatorExePath, dir);
    CommandLine line;
    line.Path(strEmulatorExePath).Text(std::string(" ") + kQ).Path(strGamePathAndFile).Text(kQ);
    Start(line, false);
    return "";
  });
}

std::string hvShell::PC64Win(const std::string& strEmulatorExePath,
                             const std::string& strGamePathAndFile, bool /*blnWaitTillFinished*/) {
  return Launch(kPc64Error, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string game = fn.Long2Short(strGamePathAndFile);
    const std::string emulator = fn.Long2Short(strEmulatorExePath);
    const std::string dir = DirectoryOf(fn, strEmulatorExePath);
    std::string missing =
        FirstMissing(fn, kPc64NotFound, {&strEmulatorExePath, &strGamePathAndFile});
    if (!missing.empty()) return missing;
    MoveTo(strEmulatorExePath, dir);
    CommandLine line;
    line.Path(emulator).Text(" ").Path(game);
    Start(line, false);
    return "";
  });
}

std::string hvShell::Frodo(const std::string& strEmulatorExePath, bool /*blnWaitTillFinished*/) {
  return Launch(kFrodoError, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string dir = DirectoryOf(fn, strEmulatorExePath);
    std::string missing = FirstMissing(fn, kFrodoNotFound, {&strEmulatorExePath});
    if (!missing.empty()) return missing;
    MoveTo(strEmulatorExePath, dir);
    CommandLine line;
    line.Path(strEmulatorExePath);
    Start(line, false);
    return "";
  });
}

std::string hvShell::VICENoSettings(const std::string& strEmulatorExePath,
                                    const std::string& strGamePathAndFile,
                                    const std::string& PRGName, bool /*blnWaitTillFinished*/) {
  return Launch(kViceError, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string game = fn.Long2Short(strGamePathAndFile);
    const std::string emulator = fn.Long2Short(strEmulatorExePath);
    const std::string dir = DirectoryOf(fn, strEmulatorExePath);
    std::string missing =
        FirstMissing(fn, kViceNotFound, {&strEmulatorExePath, &strGamePathAndFile});
    if (!missing.empty()) return missing;
    MoveTo(emulator, dir);
    CommandLine line;
    AddAutostart(line, fn, emulator, game, PRGName, vice_options_);
    Start(line, true);
    return "";
  });
}

}  // namespace hv::halvane
