#pragma once
// hvShell on the automation interface: the emulator launchers, the SID player and the
// default-program shell.

#include "Halvane.h"
#include "com/common/com_object.h"
#include "halvane/shell/hvShell.h"

namespace hv::com {

class ShellObject : public DispatchObject<ShellObject, IhvShell> {
 public:
  static constexpr const char* kSource = "Halvane.hvShell";

  ShellObject();

  HRESULT STDMETHODCALLTYPE PlayMusic(BSTR PlayerPathAndFile, BSTR MusicPath, BSTR SidFilename,
                                      BSTR MsgBoxCaption, VARIANT_BOOL* DisplayError) override;
  HRESULT STDMETHODCALLTYPE PlayMusicSong(BSTR PlayerPathAndFile, BSTR MusicPath, BSTR SidFilename,
                                          short* intTune) override;
  HRESULT STDMETHODCALLTYPE CCS64v109(
      BSTR strEmulatorExePath, BSTR strEmulatorGamesDir, BSTR strGamePathAndFile,
      short intGameIndex, CCS64v109ControlsEnum intJOYPort1, CCS64v109ControlsEnum intJOYPort2,
      CCS64v109ControlsEnum intKEYPort1, CCS64v109ControlsEnum intKEYPort2,
      VARIANT_BOOL blnWriteToIniFile, VARIANT_BOOL blnWaitTillFinished, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE CCS64v20DosAndWin(
      BSTR strEmulatorExePath, BSTR strEmulatorGamesDir, BSTR strGamePathAndFile,
      short intGameIndex, CCS64v20ControlEnum intPort1Control, CCS64v20ControlEnum intPort2Control,
      CCS64v20ControlModeEnum intPort1Mode, CCS64v20ControlModeEnum intPort2Mode,
      VARIANT_BOOL blnWriteToIniFile, VARIANT_BOOL blnWaitTillFinished, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE C64Sv252(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                     VARIANT PRGName, C64SControlsEnum intPort1Control,
                                     C64SControlsEnum intPort2Control,
                                     VARIANT_BOOL blnWriteToIniFile,
                                     VARIANT_BOOL blnWaitTillFinished, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE ShellWithDefaultProgram(BSTR FileToShell, LONG ParentHwnd) override;
  HRESULT STDMETHODCALLTYPE VICE(BSTR strEmulatorExePath, BSTR strGamePathAndFile, BSTR PRGName,
                                 VICEControlsEnum intPort1, VICEControlsEnum intPort2,
                                 VARIANT_BOOL blnWaitTillFinished, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE Comeback64(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                       CB64ControlsEnum DefaultJoystick,
                                       VARIANT_BOOL blnWaitTillFinished, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE Win64Beta(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                      VARIANT_BOOL blnWaitTillFinished, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE PC64Win(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                    VARIANT_BOOL blnWaitTillFinished, BSTR* result) override;
  HRESULT STDMETHODCALLTYPE Frodo(BSTR strEmulatorExePath, VARIANT_BOOL blnWaitTillFinished,
                                  BSTR* result) override;
  HRESULT STDMETHODCALLTYPE VICENoSettings(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                           BSTR PRGName, VARIANT_BOOL blnWaitTillFinished,
                                           BSTR* result) override;

 private:
  halvane::hvShell core_;
};

}  // namespace hv::com
