// C64S 2.52: D64 and T64 images only; the emulator types the load and run commands itself.
// The $-escapes in the typed text are the emulator's own and pass through untouched.

#include "common/error.h"
#include "common/upper_case.h"
#include "halvane/shell/hvShell.h"

namespace hv::halvane {

namespace {

constexpr char kC64sNotFound[] = "Unable to run C64S v2.52.  File: ";
constexpr char kC64sError[] = "There was an error starting C64S v2.52.  Error ";
constexpr char kC64sWrongType[] =
    "Unable to run this game in C64S v2.52.  This emulator only supports D64 and T64 files";
constexpr char kQ = '"';

std::string ImageType(const std::string& game) {
  return UpperCase1252(game.size() >= 4 ? game.substr(game.size() - 4) : game);
}

std::string PortText(std::int32_t control) {
  switch (control) {
    case Disable:
      return "No";
    case AnalogueJoystick:
      return "Analogue";
    default:
      return "Keyboard";
  }
}

// No name is an unset value or the empty text; a Null carries no name either.
bool HasName(const Variant& name) {
  if (name.IsEmpty() || name.IsNull()) return false;
  return !(name.IsString() && std::get<std::string>(name.value()).empty());
}

}  // namespace

std::string hvShell::C64Sv252(const std::string& strEmulatorExePath,
                              const std::string& strGamePathAndFile, const Variant& PRGName,
                              std::int32_t intPort1Control, std::int32_t intPort2Control,
                              bool blnWriteToIniFile, bool /*blnWaitTillFinished*/) {
  return Launch(kC64sError, [&](LauncherFunctionsOps& fn) -> std::string {
    const std::string type = ImageType(strGamePathAndFile);
    if (type != ".D64" && type != ".T64") return kC64sWrongType;
    if (!fn.FileExists(strEmulatorExePath, false, "")) {
      return kC64sNotFound + strEmulatorExePath + " not found";
    }
    if (!fn.FileExists(strGamePathAndFile, false, "")) {
      return kC64sNotFound + strGamePathAndFile + " not found";
    }

    const std::string emulator = fn.Long2Short(strEmulatorExePath);
    const std::string dir = fn.Long2Short(DirectoryOf(fn, strEmulatorExePath));
    const std::string game = fn.Long2Short(strGamePathAndFile);
    std::string game_dir, game_file;
    fn.GetFileAndPath(game, game_dir, game_file);

    if (blnWriteToIniFile) {
      const std::string config = WithSeparator(dir) + "Config.ini";
      const bool on_cd = fn.DriveTypeIsCDRom(DriveRoot(rules_.drive_letters ? config : dir));
      if (!on_cd && fn.FileExists(config, false, "")) {
        fn.ChangeConfigFile(
            config, {{"Joy1", PortText(intPort1Control)}, {"Joy2", PortText(intPort2Control)}});
      }
    }

    MoveTo(dir, dir);

    const bool disk = ImageType(strGamePathAndFile) == ".D64";
    std::string autotype;
    if (!HasName(PRGName)) {
      autotype = std::string(" -autotype") + kQ + " LOAD$0DRUN$0D" + kQ;
    } else {
      autotype = std::string(" -autotype ") + kQ + "LOAD$20$22" + PRGName.ToText() +
                 (disk ? "$22,8,1$0DRUN$0D" : "$22$0DRUN$0D") + kQ;
    }
    CommandLine line;
    line.Path(emulator)
        .Text(disk ? " -diskdir " : " -tapedir ")
        .Path(game_dir)
        .Text(disk ? " -disk " : " -tape ")
        .Path(game_file)
        .Text(autotype);
    Start(line, false);
    return "";
  });
}

}  // namespace hv::halvane
