; Setup of the Tessary and Halvane automation servers. Built by CMake (installer/CMakeLists.txt):
;   makensis -DVERSION=1.0.0 -DX86_DIR=<i686 bin> [-DX64_DIR=<x86_64 bin>] -DOUTFILE=<exe> setup.nsi
; X86_DIR: the 32-bit servers, which the 32-bit front-end loads; installed on every Windows.
; X64_DIR: the 64-bit servers, installed beside them on 64-bit Windows only.
; AMD64: make a 64-bit setup program (for tests where 32-bit programs cannot start).
;
; Switches: /S silent; /ALLUSERS for every user (Program Files, registered machine-wide, needs
; administrator rights; the default for an administrator); /CURRENTUSER for the current user
; alone (the user's Programs folder, registered below HKCU\Software\Classes with
; `regsvr32 /n /i:user`; the default without administrator rights); /D=<folder> the folder of
; the 32-bit servers and the uninstaller (last on the command line, unquoted).
; Without /S and without a switch, an administrator is asked which of the two to do.

Unicode true
!ifdef AMD64
  Target amd64-unicode
!endif
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!define PRODUCT "Tessary and Halvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TessaryHalvane"
!ifndef X86_DIR
  !ifndef X64_DIR
    !error "define X86_DIR and/or X64_DIR"
  !endif
!endif

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel highest
ShowInstDetails show
ShowUninstDetails show
SetCompressor /SOLID lzma

Var Mode      ; "machine" or "user"
Var Dir64     ; folder of the 64-bit servers
Var RegFlags  ; what regsvr32 needs besides /s (and /u) for the mode
Var ModeSwitch ; the switch that names the mode, for the uninstall entry

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; ---- the mode: switches, rights, the question ---------------------------------------------------

!macro ChooseMode un
Function ${un}ChooseMode
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CURRENTUSER" $1
  ${IfNot} ${Errors}
    StrCpy $Mode user
  ${Else}
    ClearErrors
    ${GetOptions} $0 "/ALLUSERS" $1
    ${IfNot} ${Errors}
      StrCpy $Mode machine
    ${EndIf}
  ${EndIf}
  UserInfo::GetAccountType
  Pop $1
  !if "${un}" == ""
    ${If} $Mode == ""
      ${If} $1 != "Admin"
        StrCpy $Mode user
      ${Else}
        StrCpy $Mode machine
        MessageBox MB_YESNO|MB_ICONQUESTION "Install ${PRODUCT} for every user of this computer?$\n$\nNo installs it for you alone." /SD IDYES IDYES +2
        StrCpy $Mode user
      ${EndIf}
    ${EndIf}
  !else
    ; Started without a switch (from its folder): the mode its own uninstall entry shows.
    ${If} $Mode == ""
      ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
      StrCpy $Mode machine
      ${If} $2 == $INSTDIR
        StrCpy $Mode user
      ${EndIf}
    ${EndIf}
  !endif
  ${If} $Mode == machine
  ${AndIf} $1 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Installing or removing ${PRODUCT} for every user needs administrator rights; /CURRENTUSER does it for you alone." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
  ${If} $Mode == machine
    SetShellVarContext all
    StrCpy $RegFlags ""
    StrCpy $ModeSwitch "/ALLUSERS"
  ${Else}
    SetShellVarContext current
    StrCpy $RegFlags "/n /i:user "
    StrCpy $ModeSwitch "/CURRENTUSER"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro ChooseMode ""
!insertmacro ChooseMode "un."

; ---- registration through regsvr32 of the servers' own architecture ------------------------

; Register <dll> <64?> <"/u " or ""> runs the regsvr32 of the DLL's architecture and leaves its
; exit code in $0 (0 when it succeeded). A 32-bit setup reaches the 64-bit System32 with file
; system redirection off; a 64-bit one finds the 32-bit regsvr32 in SysWOW64.
!macro Register dll is64 undo
  !if ${is64} == 1
    !if ${NSIS_PTR_SIZE} == 4
      ${DisableX64FSRedirection}
    !endif
    ExecWait '"$SYSDIR\regsvr32.exe" /s ${undo}$RegFlags"${dll}"' $0
    !if ${NSIS_PTR_SIZE} == 4
      ${EnableX64FSRedirection}
    !endif
  !else
    !if ${NSIS_PTR_SIZE} == 4
      ExecWait '"$SYSDIR\regsvr32.exe" /s ${undo}$RegFlags"${dll}"' $0
    !else
      ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /s ${undo}$RegFlags"${dll}"' $0
    !endif
  !endif
  DetailPrint "regsvr32 ${undo}$RegFlags ${dll}: exit $0"
!macroend

!macro RegisterOrAbort dll is64
  !insertmacro Register "${dll}" ${is64} ""
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "${dll} could not be registered (regsvr32 exit $0)." /SD IDOK
    Abort
  ${EndIf}
!macroend

; ---- install -----------------------------------------------------------------------------

Function .onInit
  Call ChooseMode
  ${If} $INSTDIR == ""
    ${If} $Mode == machine
      StrCpy $INSTDIR "$PROGRAMFILES32\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${EndIf}
  ${If} $Mode == machine
    StrCpy $Dir64 "$PROGRAMFILES64\${PRODUCT}"
  ${Else}
    StrCpy $Dir64 "$INSTDIR\x64"
  ${EndIf}
FunctionEnd

Section "Servers"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" $ModeSwitch'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" $ModeSwitch /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
!ifdef X64_DIR
  ${If} ${RunningX64}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation64" "$Dir64"
  ${EndIf}
!endif

!ifdef X86_DIR
  File "${X86_DIR}\Halvane.dll"
  File "${X86_DIR}\Tessary.dll"
  ; Halvane first: creating a Tessary.hvExtract needs Halvane.hvFunctions.
  !insertmacro RegisterOrAbort "$INSTDIR\Halvane.dll" 0
  !insertmacro RegisterOrAbort "$INSTDIR\Tessary.dll" 0
!endif
!ifdef X64_DIR
  ${If} ${RunningX64}
    SetOutPath "$Dir64"
    File "${X64_DIR}\Halvane.dll"
    File "${X64_DIR}\Tessary.dll"
    !insertmacro RegisterOrAbort "$Dir64\Halvane.dll" 1
    !insertmacro RegisterOrAbort "$Dir64\Tessary.dll" 1
  ${EndIf}
!endif
SectionEnd

; ---- uninstall ---------------------------------------------------------------------------

Function un.onInit
  Call un.ChooseMode
  ReadRegStr $Dir64 SHCTX "${UNINSTALL_KEY}" "InstallLocation64"
FunctionEnd

!macro RemoveServers dir is64
  ${If} ${FileExists} "${dir}\Tessary.dll"
    !insertmacro Register "${dir}\Tessary.dll" ${is64} "/u "
  ${EndIf}
  ${If} ${FileExists} "${dir}\Halvane.dll"
    !insertmacro Register "${dir}\Halvane.dll" ${is64} "/u "
  ${EndIf}
  Delete "${dir}\Tessary.dll"
  Delete "${dir}\Halvane.dll"
!macroend

Section "Uninstall"
  ${If} $Dir64 != ""
  ${AndIf} ${RunningX64}
    !insertmacro RemoveServers "$Dir64" 1
    RMDir "$Dir64"
  ${EndIf}
  !insertmacro RemoveServers "$INSTDIR" 0
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
