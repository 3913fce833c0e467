#include "com/halvane/shell_object.h"

#include <memory>
#include <type_traits>

#include "com/common/bstr.h"
#include "com/common/returns.h"
#include "com/common/variant_convert.h"
#include "halvane/functions/hvFunctions.h"

namespace hv::com {
namespace {

// The core's enumeration members are the type library's, in the same enumeration and with the
// same value; a member the library has and the core lacks fails the automation tests.
#define HV_SAME_AS_TYPE_LIBRARY(type, member, value) \
  static_assert(std::is_same_v<decltype(::member), ::type> && ::member == (value));
HV_SHELL_ENUM_MEMBERS(HV_SAME_AS_TYPE_LIBRARY)
#undef HV_SAME_AS_TYPE_LIBRARY

bool Flag(VARIANT_BOOL value) {
  return value != VARIANT_FALSE;
}

template <class T>
T& Ref(T* p) {
  if (!p) throw ComError(E_POINTER);
  return *p;
}

}  // namespace

// Each launcher call gets a general-functions object of its own, released before it returns.
ShellObject::ShellObject() : core_([] { return std::make_unique<halvane::hvFunctions>(); }) {}

HRESULT STDMETHODCALLTYPE ShellObject::PlayMusic(BSTR PlayerPathAndFile, BSTR MusicPath,
                                                 BSTR SidFilename, BSTR MsgBoxCaption,
                                                 VARIANT_BOOL* DisplayError) {
  return Guard("PlayMusic", [&] {
    core_.PlayMusic(FromBstr(PlayerPathAndFile), FromBstr(MusicPath), FromBstr(SidFilename),
                    FromBstr(MsgBoxCaption), Ref(DisplayError));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::PlayMusicSong(BSTR PlayerPathAndFile, BSTR MusicPath,
                                                     BSTR SidFilename, short* intTune) {
  return Guard("PlayMusicSong", [&] {
    core_.PlayMusicSong(FromBstr(PlayerPathAndFile), FromBstr(MusicPath), FromBstr(SidFilename),
                        Ref(intTune));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::CCS64v109(
    BSTR strEmulatorExePath, BSTR strEmulatorGamesDir, BSTR strGamePathAndFile, short intGameIndex,
    CCS64v109ControlsEnum intJOYPort1, CCS64v109ControlsEnum intJOYPort2,
    CCS64v109ControlsEnum intKEYPort1, CCS64v109ControlsEnum intKEYPort2,
    VARIANT_BOOL blnWriteToIniFile, VARIANT_BOOL blnWaitTillFinished, BSTR* result) {
  return Guard("CCS64v109", [&] {
    Out(result);
    ReturnText(result, core_.CCS64v109(FromBstr(strEmulatorExePath), FromBstr(strEmulatorGamesDir),
                                       FromBstr(strGamePathAndFile), intGameIndex, intJOYPort1,
                                       intJOYPort2, intKEYPort1, intKEYPort2,
                                       Flag(blnWriteToIniFile), Flag(blnWaitTillFinished)));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::CCS64v20DosAndWin(
    BSTR strEmulatorExePath, BSTR strEmulatorGamesDir, BSTR strGamePathAndFile, short intGameIndex,
    CCS64v20ControlEnum intPort1Control, CCS64v20ControlEnum intPort2Control,
    CCS64v20ControlModeEnum intPort1Mode, CCS64v20ControlModeEnum intPort2Mode,
    VARIANT_BOOL blnWriteToIniFile, VARIANT_BOOL blnWaitTillFinished, BSTR* result) {
  return Guard("CCS64v20DosAndWin", [&] {
    Out(result);
    ReturnText(result,
               core_.CCS64v20DosAndWin(FromBstr(strEmulatorExePath), FromBstr(strEmulatorGamesDir),
                                       FromBstr(strGamePathAndFile), intGameIndex, intPort1Control,
                                       intPort2Control, intPort1Mode, intPort2Mode,
                                       Flag(blnWriteToIniFile), Flag(blnWaitTillFinished)));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::C64Sv252(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                                VARIANT PRGName, C64SControlsEnum intPort1Control,
                                                C64SControlsEnum intPort2Control,
                                                VARIANT_BOOL blnWriteToIniFile,
                                                VARIANT_BOOL blnWaitTillFinished, BSTR* result) {
  return Guard("C64Sv252", [&] {
    Out(result);
    // A left-out name is no name.
    const bool omitted = V_VT(&PRGName) == VT_ERROR && V_ERROR(&PRGName) == DISP_E_PARAMNOTFOUND;
    const Variant name = omitted ? Variant{} : FromVariant(PRGName);
    ReturnText(result, core_.C64Sv252(FromBstr(strEmulatorExePath), FromBstr(strGamePathAndFile),
                                      name, intPort1Control, intPort2Control,
                                      Flag(blnWriteToIniFile), Flag(blnWaitTillFinished)));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::ShellWithDefaultProgram(BSTR FileToShell, LONG ParentHwnd) {
  return Guard("ShellWithDefaultProgram",
               [&] { core_.ShellWithDefaultProgram(FromBstr(FileToShell), ParentHwnd); });
}

HRESULT STDMETHODCALLTYPE ShellObject::VICE(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                            BSTR PRGName, VICEControlsEnum intPort1,
                                            VICEControlsEnum intPort2,
                                            VARIANT_BOOL blnWaitTillFinished, BSTR* result) {
  return Guard("VICE", [&] {
    Out(result);
    ReturnText(result,
               core_.VICE(FromBstr(strEmulatorExePath), FromBstr(strGamePathAndFile),
                          FromBstr(PRGName), intPort1, intPort2, Flag(blnWaitTillFinished)));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::Comeback64(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                                  CB64ControlsEnum DefaultJoystick,
                                                  VARIANT_BOOL blnWaitTillFinished, BSTR* result) {
  return Guard("Comeback64", [&] {
    Out(result);
    ReturnText(result, core_.Comeback64(FromBstr(strEmulatorExePath), FromBstr(strGamePathAndFile),
                                        DefaultJoystick, Flag(blnWaitTillFinished)));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::Win64Beta(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                                 VARIANT_BOOL blnWaitTillFinished, BSTR* result) {
  return Guard("Win64Beta", [&] {
    Out(result);
    ReturnText(result, core_.Win64Beta(FromBstr(strEmulatorExePath), FromBstr(strGamePathAndFile),
                                       Flag(blnWaitTillFinished)));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::PC64Win(BSTR strEmulatorExePath, BSTR strGamePathAndFile,
                                               VARIANT_BOOL blnWaitTillFinished, BSTR* result) {
  return Guard("PC64Win", [&] {
    Out(result);
    ReturnText(result, core_.PC64Win(FromBstr(strEmulatorExePath), FromBstr(strGamePathAndFile),
                                     Flag(blnWaitTillFinished)));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::Frodo(BSTR strEmulatorExePath,
                                             VARIANT_BOOL blnWaitTillFinished, BSTR* result) {
  return Guard("Frodo", [&] {
    Out(result);
    ReturnText(result, core_.Frodo(FromBstr(strEmulatorExePath), Flag(blnWaitTillFinished)));
  });
}

HRESULT STDMETHODCALLTYPE ShellObject::VICENoSettings(BSTR strEmulatorExePath,
                                                      BSTR strGamePathAndFile, BSTR PRGName,
                                                      VARIANT_BOOL blnWaitTillFinished,
                                                      BSTR* result) {
  return Guard("VICENoSettings", [&] {
    Out(result);
    ReturnText(result,
               core_.VICENoSettings(FromBstr(strEmulatorExePath), FromBstr(strGamePathAndFile),
                                    FromBstr(PRGName), Flag(blnWaitTillFinished)));
  });
}

}  // namespace hv::com
