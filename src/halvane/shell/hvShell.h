#pragma once
// hvShell: starts the emulators with a game, the SID player with a tune, and the default program
// of a file. It keeps no state: each call makes its own general-functions object and lets it go.
// Emulator launchers return "" once the emulator is started, otherwise a message for the user;
// none raises an error and none waits for the program it started.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/variant.h"
#include "halvane/shell/command_line.h"
#include "halvane/shell/launcher_functions.h"
#include "halvane/shell/shell_enums.h"
#include "platform/process.h"

namespace hv::halvane {

class hvShell {
 public:
  explicit hvShell(FunctionsFactory functions,
                   platform::ProcessService& process = platform::SystemProcessService(),
                   ShellPathRules rules = kHostPathRules);

  // Members in the order of the automation interface.
  // DisplayError is handed to the file test as it came: only the automation True (-1) shows
  // a box there, any other value (1 included) shows none.
  void PlayMusic(const std::string& PlayerPathAndFile, const std::string& MusicPath,
                 const std::string& SidFilename, const std::string& MsgBoxCaption,
                 std::int16_t DisplayError);
  void PlayMusicSong(const std::string& PlayerPathAndFile, const std::string& MusicPath,
                     const std::string& SidFilename, std::int16_t intTune);
  std::string CCS64v109(const std::string& strEmulatorExePath,
                        const std::string& strEmulatorGamesDir,
                        const std::string& strGamePathAndFile, std::int16_t intGameIndex,
                        std::int32_t intJOYPort1, std::int32_t intJOYPort2,
                        std::int32_t intKEYPort1, std::int32_t intKEYPort2, bool blnWriteToIniFile,
                        bool blnWaitTillFinished);
  std::string CCS64v20DosAndWin(const std::string& strEmulatorExePath,
                                const std::string& strEmulatorGamesDir,
                                const std::string& strGamePathAndFile, std::int16_t intGameIndex,
                                std::int32_t intPort1Control, std::int32_t intPort2Control,
                                std::int32_t intPort1Mode, std::int32_t intPort2Mode,
                                bool blnWriteToIniFile, bool blnWaitTillFinished);
  std::string C64Sv252(const std::string& strEmulatorExePath, const std::string& strGamePathAndFile,
                       const Variant& PRGName, std::int32_t intPort1Control,
                       std::int32_t intPort2Control, bool blnWriteToIniFile,
                       bool blnWaitTillFinished);
  void ShellWithDefaultProgram(const std::string& FileToShell, std::int32_t ParentHwnd);
  std::string VICE(const std::string& strEmulatorExePath, const std::string& strGamePathAndFile,
                   const std::string& PRGName, std::int32_t intPort1, std::int32_t intPort2,
                   bool blnWaitTillFinished);
  std::string Comeback64(const std::string& strEmulatorExePath,
                         const std::string& strGamePathAndFile, std::int32_t DefaultJoystick,
                         bool blnWaitTillFinished);
  std::string Win64Beta(const std::string& strEmulatorExePath,
                        const std::string& strGamePathAndFile, bool blnWaitTillFinished);
  std::string PC64Win(const std::string& strEmulatorExePath, const std::string& strGamePathAndFile,
                      bool blnWaitTillFinished);
  std::string Frodo(const std::string& strEmulatorExePath, bool blnWaitTillFinished);
  std::string VICENoSettings(const std::string& strEmulatorExePath,
                             const std::string& strGamePathAndFile, const std::string& PRGName,
                             bool blnWaitTillFinished);

  // What hv play adds to VICE and VICENoSettings; not on the automation interface, whose
  // calls never set it. The program name then reaches the emulator as given, since it is
  // already the text VICE turns into the entry's bytes, and `fliplist` (when not empty) names
  // VICE's list of the other disks of the game.
  struct ViceOptions {
    bool exact_program_name = false;
    std::string fliplist;
  };
  void SetViceOptions(ViceOptions options) { vice_options_ = std::move(options); }

 private:
  // The launch pattern's frame: a fresh functions object for the body, and any error turned
  // into `error_prefix` + number + ": " + description.
  std::string Launch(const char* error_prefix,
                     const std::function<std::string(LauncherFunctionsOps&)>& body);
  std::unique_ptr<LauncherFunctionsOps> MakeFunctions() const;
  // The directory part of a path, as GetFileAndPath gives it.
  static std::string DirectoryOf(FunctionsOps& fn, const std::string& path);
  std::string WithSeparator(std::string dir) const;
  // What DriveTypeIsCDRom is asked about for a directory: its drive where paths have drives,
  // the directory itself where they do not.
  std::string DriveRoot(const std::string& dir) const;
  void MoveTo(const std::string& drive_source, const std::string& directory);
  void Start(const CommandLine& line, bool lower);

  FunctionsFactory functions_;
  platform::ProcessService& process_;
  ShellPathRules rules_;
  ViceOptions vice_options_;
};

}  // namespace hv::halvane
