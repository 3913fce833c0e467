#!/usr/bin/env bash
# Installs the setup program of an i686 build under Wine and takes it away again, for every
# user and for the current user alone:
#   tests/wine/setup.sh build/windows-x86
# In a fresh win64 prefix (both registry views, both Program Files folders): a silent install,
# every class created by a late-binding client of each architecture, the silent uninstall its
# uninstall entry names, then no ProgID, CLSID, type library or uninstall entry left and no file
# in the install folders. The setup program is a 32-bit program: where those cannot start, one
# line says so and the 64-bit setup program made from the same script (the 64-bit servers only)
# is tested instead. Ends with "N passed, N failed, N skipped".
set -uo pipefail

build=$(cd "${1:?usage: setup.sh BUILD_DIR}" && pwd) || exit 2
here=$(cd "$(dirname "$0")" && pwd)
x64=$(cd "$build/.." && pwd)/windows-x64
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
export WINEPREFIX="$build/setup-prefix" WINEARCH=win64 WINEDEBUG=-all
unset DISPLAY

. "$here/tally.sh"
# The data of one registry value, from the 64-bit (reg64) or the 32-bit view (reg32).
reg_data() {  # reg_data <wine> <key> [<value name>]
  local args=(/ve)
  [ $# -gt 2 ] && args=(/v "$3")
  "$1" reg query "$2" "${args[@]}" 2>/dev/null | tr -d '\r' | grep -E 'REG_(SZ|DWORD)' | sed -E 's/^.*REG_(SZ|DWORD) +//'
}
key_absent() {  # key_absent <wine> <key>: both views are asked by running reg of each loader
  ! "$1" reg query "$2" >/dev/null 2>&1
}
# NSIS's uninstaller copies itself to %TEMP%\~nsu<N>.tmp, starts the copy and returns: the work
# is done when no process runs from such a folder (its command line names it, under qemu-i386
# too). Fails after 600 s.
wait_uninstaller() {
  local deadline=$((SECONDS + 600))
  while grep -qa '~nsu[0-9A-F]*\.tmp' /proc/[0-9]*/cmdline 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 1
  done
}

if [ ! -x "$wine64" ]; then record 1 "wine64 not installed: nothing run"; summary; exit; fi
shopt -s nullglob
product=("$build"/setup/TessaryHalvane-*-setup.exe)
if [ ${#product[@]} -eq 0 ]; then record 1 "no setup program in $build/setup"; summary; exit; fi
if why=$("$here/probe32.sh"); then
  setup=${product[0]}
  loaders=("$wine64" "$wine32")
else
  skip "32-bit setup program: $why; the 64-bit one of the same script is tested instead"
  setup="$build/setup/test/setup-x64-only.exe"
  loaders=("$wine64")
fi
echo "setup program: $(basename "$setup"), $(stat -c %s "$setup") bytes"

rm -rf "$WINEPREFIX"
"$wine64" wineboot -i >/dev/null 2>&1
/usr/lib/wine/wineserver -w
keep_server
progids=(Tessary.hvD64 Tessary.hvT64 Tessary.hvPRG Tessary.hvP00 Tessary.hvExtract
  Halvane.hvFunctions Halvane.hvRegistry Halvane.hvShell)
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\TessaryHalvane'

for mode in ALLUSERS CURRENTUSER; do
  echo "---- /S /$mode"
  "$wine64" "$(winpath "$setup")" /S "/$mode" >/dev/null 2>&1
  record $? "$(basename "$setup") /S /$mode"

  if [ $mode = ALLUSERS ]; then root=HKLM; else root=HKCU; fi
  # The uninstall entry a 32-bit setup writes lands in the 32-bit view: ask each loader's reg.
  quiet=""
  for w in "${loaders[@]}"; do
    quiet=$(reg_data "$w" "$root\\$uninstall_key" QuietUninstallString)
    [ -n "$quiet" ] && break
  done
  [ -n "$quiet" ]
  record $? "uninstall entry below $root: ${quiet:-none}"
  inst=$(reg_data "$w" "$root\\$uninstall_key" InstallLocation)
  inst64=$(reg_data "$w" "$root\\$uninstall_key" InstallLocation64)
  unix_inst=$("$wine64" winepath -u "$inst" 2>/dev/null | tr -d '\r')
  unix_inst64=$("$wine64" winepath -u "$inst64" 2>/dev/null | tr -d '\r')
  [ -n "$inst64" ] && [ -f "$unix_inst64/Tessary.dll" ] && [ -f "$unix_inst64/Halvane.dll" ]
  record $? "64-bit servers in ${inst64:-?}"
  [ -f "$unix_inst/uninstall.exe" ]
  record $? "uninstaller in ${inst:-?}"
  if [ ${#loaders[@]} -eq 2 ]; then
    [ -f "$unix_inst/Tessary.dll" ] && [ -f "$unix_inst/Halvane.dll" ]
    record $? "32-bit servers in $inst"
  fi

  # Every class, created by a client of each architecture, from the folder it was installed in.
  clsids=()
  libids=()
  for w in "${loaders[@]}"; do
    if [ "$w" = "$wine64" ]; then folder=$inst64 bits=64 client="$x64/bin/wine-tests/registration_peruser.exe"
    else folder=$inst bits=32 client="$build/bin/wine-tests/registration_peruser.exe"; fi
    if [ $mode = ALLUSERS ]; then
      run_client "installed_classes.vbs ($bits-bit)" "$w" cscript //nologo "$(winpath "$here/scripts/installed_classes.vbs")"
      for p in "${progids[@]}"; do
        clsid=$(reg_data "$w" "HKCR\\$p\\CLSID")
        server=$(reg_data "$w" "HKCR\\CLSID\\$clsid\\InprocServer32")
        want="$folder\\${p%%.*}.dll"
        [ "${server,,}" = "${want,,}" ]
        record $? "$p ($bits-bit) served by ${server:-nothing}"
        clsids+=("$clsid")
        libids+=("$(reg_data "$w" "HKCR\\CLSID\\$clsid\\TypeLib")")
      done
    else
      # Wine's COM reads the machine's classes only: the per-user keys are checked as Windows
      # reads them, and the classes are created from them.
      run_client "registration_peruser ($bits-bit)" "$w" "$client" "$folder" RegisteredForUser
    fi
  done
  # The two per-user registrations share the ProgIDs and the type library key: taking one
  # architecture's away leaves the other's whole (HELPDIR then names the folder that is left),
  # and registering it again restores both.
  if [ $mode = CURRENTUSER ] && [ ${#loaders[@]} -eq 2 ]; then
    for gone in 64 32; do
      if [ $gone = 64 ]; then w=$wine64 folder=$inst64 stay=$wine32 stay_folder=$inst stay_bin=$build/bin
      else w=$wine32 folder=$inst stay=$wine64 stay_folder=$inst64 stay_bin=$x64/bin; fi
      for dll in Tessary.dll Halvane.dll; do
        "$w" regsvr32 /s /u /n /i:user "$folder\\$dll" >/dev/null 2>&1
        record $? "regsvr32 /u /n /i:user $folder\\$dll"
      done
      run_client "registration_peruser without the $gone-bit servers" "$stay" \
        "$stay_bin/wine-tests/registration_peruser.exe" "$stay_folder" RegisteredForUser
      for dll in Halvane.dll Tessary.dll; do
        "$w" regsvr32 /s /n /i:user "$folder\\$dll" >/dev/null 2>&1
        record $? "regsvr32 /n /i:user $folder\\$dll again"
      done
    done
  fi

  cmd=${quiet#\"}
  exe=${cmd%%\"*}
  args=${cmd#*\" }
  # The uninstaller copies itself away and returns at once: wait for the copy to end.
  # shellcheck disable=SC2086
  "$wine64" "$exe" $args >/dev/null 2>&1
  record $? "$quiet"
  wait_uninstaller
  record $? "the uninstaller's copy ended within 600 s"

  for w in "${loaders[@]}"; do
    [ "$w" = "$wine64" ] && bits=64 || bits=32
    left=()
    for key in "${progids[@]}" "${clsids[@]/#/CLSID\\}" "${libids[@]/#/TypeLib\\}"; do
      for r in 'HKLM\Software\Classes' 'HKCU\Software\Classes'; do
        key_absent "$w" "$r\\$key" || left+=("$r\\$key")
      done
    done
    key_absent "$w" "$root\\$uninstall_key" || left+=("$root\\$uninstall_key")
    [ ${#left[@]} -eq 0 ]
    record $? "nothing left in the $bits-bit registry view${left:+: ${left[*]}}"
    if [ $mode = CURRENTUSER ]; then
      if [ $bits = 64 ]; then bin="$x64/bin"; client="$x64/bin/wine-tests/registration_peruser.exe"
      else bin="$build/bin"; client="$build/bin/wine-tests/registration_peruser.exe"; fi
      run_client "registration_peruser gone ($bits-bit)" "$w" "$client" "$(winpath "$bin")" GoneForUser
    fi
  done
  for d in "$unix_inst" "$unix_inst64"; do
    [ -n "$d" ] && [ ! -e "$d" ]
    record $? "install folder ${d:-?} removed"
  done
done

/usr/lib/wine/wineserver -k >/dev/null 2>&1
summary
