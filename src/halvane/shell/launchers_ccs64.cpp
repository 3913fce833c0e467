// CCS64 1.09 and 2.0: both may first set the joysticks and the load path in c64.cfg.

#include <cstdint>
#include <limits>

#include "common/error.h"
#include "halvane/shell/hvShell.h"

namespace hv::halvane {

namespace {

constexpr char kCcs109NotFound[] = "Unable to run CCS64 v1.09.  File: ";
constexpr char kCcs109Error[] = "There was an error starting CCS64 v1.09.  Error ";
constexpr char kCcs20NotFound[] = "Unable to run CCS64 v2.0.  File: ";
constexpr char kCcs20Error[] = "There was an error starting CCS64 v2.0.  Error ";

std::int32_t MouseAdjustedMode(std::int32_t control, std::int32_t mode) {
  // A C1351 mouse counts its modes from one higher: the PC mouse (-1) is written as 0.
  const std::int64_t adjusted = std::int64_t{mode} + (control == eCCS20_MouseC1351 ? 1 : 0);
  if (adjusted > std::numeric_limits<std::int32_t>::max()) throw Error(vberr::kOverflow);
  return static_cast<std::int32_t>(adjusted);
}

}  // namespace

std::string hvShell::CCS64v109(const std::string& strEmulatorExePath,
                               const std::string& strEmulatorGamesDir,
                               const std::string& strGamePathAndFile, std::int16_t intGameIndex,
                               std::int32_t intJOYPort1, std::int32_t intJOYPort2,
                               std::int32_t intKEYPort1, std::int32_t intKEYPort2,
                               bool blnWriteToIniFile, bool /*blnWaitTillFinished*/) {
  return Launch(kCcs109Error, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string dir = WithSeparator(fn.Long2Short(DirectoryOf(fn, strEmulatorExePath)));
    const std::string game = fn.Long2Short(strGamePathAndFile);

    if (!fn.FileExists(dir + "ccsdpmi.exe", false, "")) {
      return kCcs109NotFound + dir + "ccsdpmi.exe not found";
    }
    if (!fn.FileExists(strEmulatorExePath, false, "")) {
      return kCcs109NotFound + strEmulatorExePath + " not found";
    }
    if (!fn.FileExists(strGamePathAndFile, false, "")) {
      return kCcs109NotFound + strGamePathAndFile + " not found";
    }

    if (blnWriteToIniFile) {
      const std::string config = dir + "c64.cfg";
      const bool config_exists = fn.FileExists(config, false, "");
      if (config_exists && !fn.DriveTypeIsCDRom(DriveRoot(dir))) {
        ConfigEntries entries{{"$JOYSTICK1PC", NumberText(intJOYPort1)},
                              {"$JOYSTICK2PC", NumberText(intJOYPort2)},
                              {"$JOYSTICK1KEY", NumberText(intKEYPort1)},
                              {"$JOYSTICK2KEY", NumberText(intKEYPort2)}};
        const std::string load_path = fn.Long2Short(strEmulatorGamesDir);
        if (fn.DirExists(load_path)) entries.emplace_back("$LOADPATH", WithSeparator(load_path));
        fn.ChangeConfigFile(config, ToConfigFileArray(entries));
      }
    }

    MoveTo(dir, dir);
    CommandLine line;
    line.Path(dir + "ccsdpmi.exe")
        .Text(" ccs64.exe ")
        .Path(game)
        .Text("," + NumberText(intGameIndex));
    Start(line, false);
    return "";
  });
}

std::string hvShell::CCS64v20DosAndWin(const std::string& strEmulatorExePath,
                                       const std::string& strEmulatorGamesDir,
                                       const std::string& strGamePathAndFile,
                                       std::int16_t intGameIndex, std::int32_t intPort1Control,
                                       std::int32_t intPort2Control, std::int32_t intPort1Mode,
                                       std::int32_t intPort2Mode, bool blnWriteToIniFile,
                                       bool /*blnWaitTillFinished*/) {
  return Launch(kCcs20Error, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string dir = WithSeparator(fn.Long2Short(DirectoryOf(fn, strEmulatorExePath)));
    const std::string game = fn.Long2Short(strGamePathAndFile);
    const std::string emulator = fn.Long2Short(strEmulatorExePath);

    if (!fn.FileExists(strEmulatorExePath, false, "")) {
      return kCcs20NotFound + strEmulatorExePath + " not found";
    }
    if (!fn.FileExists(strGamePathAndFile, false, "")) {
      return kCcs20NotFound + strGamePathAndFile + " not found";
    }

    if (blnWriteToIniFile) {
      const std::string config = dir + "c64.cfg";
      const bool config_exists = fn.FileExists(config, false, "");
      if (config_exists && !fn.DriveTypeIsCDRom(DriveRoot(dir))) {
        const std::int32_t mode1 = MouseAdjustedMode(intPort1Control, intPort1Mode);
        const std::int32_t mode2 = MouseAdjustedMode(intPort2Control, intPort2Mode);
        ConfigEntries entries{{"$CONTROLPORT1", NumberText(intPort1Control)},
                              {"$CONTROLPORT2", NumberText(intPort2Control)},
                              {"$CONTROLPORT1MODE", NumberText(mode1)},
                              {"$CONTROLPORT2MODE", NumberText(mode2)}};
        const std::string load_path = fn.Long2Short(strEmulatorGamesDir);
        if (fn.DirExists(load_path)) entries.emplace_back("$LOADPATH", WithSeparator(load_path));
        fn.ChangeConfigFile(config, ToConfigFileArray(entries));
      }
    }

    MoveTo(dir, dir);
    CommandLine line;
    line.Path(emulator).Text(" ").Path(game).Text("," + NumberText(intGameIndex));
    Start(line, false);
    return "";
  });
}

}  // namespace hv::halvane
