#!/usr/bin/env bash
# Drives the automation servers of one Windows build as a client would, under Wine:
#   tests/wine/run.sh build/windows-x64 [win64|win32]
# The architecture is that of the build's DLLs unless given: win64 runs under wine64 in a win64
# prefix, win32 under the 32-bit loader in a win32 prefix. Before a 32-bit run a tiny i686
# program is started; when it cannot start here the run is skipped with one line saying why.
# Makes a Wine prefix once per build folder, makes inputs with the Linux tools, registers every
# DLL in BUILD_DIR/bin with regsvr32, runs each client (BUILD_DIR/bin/wine-tests/*_client.exe and
# tests/wine/scripts/*_client.vbs, given the data folder), reads back the settings the registry
# client wrote, runs the *_gui clients under Xvfb, compares hv.exe with the Linux hv, unregisters,
# runs the *_unregistered clients, and ends with "N passed, N failed, N skipped".
# Every client prints "CHECKS <passed> <failed> <skipped>"; a client that stops without it has
# failed (tally.sh). What cannot run here is skipped with a line "skip <what>: <why>".
set -uo pipefail

build=$(cd "${1:?usage: run.sh BUILD_DIR [win64|win32]}" && pwd) || exit 2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
arch=${2:-$("$here/pe_arch.sh" "$build/bin/Tessary.dll")} || exit 2
case "$arch" in
  win64) wine=/usr/lib/wine/wine64 ;;
  win32) wine=/usr/lib/wine/wine ;;
  *) echo "unknown architecture '$arch' (win64 or win32)"; exit 2 ;;
esac
export WINEARCH=$arch
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
unset DISPLAY  # nothing here shows a window; GUI tests set up Xvfb themselves

. "$here/tally.sh"

# tests/wine/i386.sh runs this where 32-bit programs start, natively or through qemu-i386.
if [ "$arch" = win32 ]; then
  why=$("$here/probe32.sh") || {
    skip "32-bit Wine run of $(basename "$build"): $why"
    summary
    exit
  }
fi
if [ ! -x "$wine" ]; then
  record 1 "$(basename "$wine") not installed: nothing run"
  summary
  exit
fi

# ---- prefix -------------------------------------------------------------------------------
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "making Wine prefix $WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1
  # No window manager: unmanaged windows and one virtual desktop avoid the 2 s wait on close
  # and let one process find another's windows (GUI tests).
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
fi
keep_server

# ---- inputs made by the Linux tools ---------------------------------------------------------
data="$build/wine-data"
rm -rf "$data"
mkdir -p "$data"
printf '\001\010hello' >"$data/source.prg"
if command -v cc1541 >/dev/null; then
  (cd "$data" && cc1541 -n "demo disk" -i "ab 2a" -f "hello world" -w source.prg \
    -f "second" -T SEQ -w source.prg demo.d64 >/dev/null 2>&1)
else
  skip "demo.d64: cc1541 missing"
fi
if command -v cbmconvert >/dev/null && [ -f "$data/demo.d64" ]; then
  (cd "$data" && cbmconvert -P -d demo.d64 >/dev/null 2>&1 && cbmconvert -N -d demo.d64 >/dev/null 2>&1)
else
  skip "hello world.prg and hellwrld.p00: cbmconvert or its disk image missing"
fi
wdata=$(winpath "$data")
# Archives and game databases for the extraction clients, made by zip and sqlite3.
if command -v zip >/dev/null; then
  (
    mkdir -p "$data/extract/src" && cd "$data/extract/src" || exit 1
    printf 'tape' >game.t64 && printf 'notes' >readme.txt && zip -q ../one_t64.zip game.t64 readme.txt
    printf 'disk' >inner.d64 && zip -q inner.zip inner.d64 && zip -q ../nested.zip inner.zip
    printf 'a' >alpha.prg && printf 'b' >beta.prg && printf 'c' >gamma.prg
    zip -q ../three.zip alpha.prg beta.prg gamma.prg
    head -c 60000 /dev/zero >big.bin && head -c 100 /dev/zero >small.bin && zip -q ../loose.zip big.bin small.bin
    head -c 51201 /dev/zero >huge.bin && zip -q ../toobig.zip huge.bin
    mkdir -p "Disk 1" "Disk 2" && printf 'one' >"Disk 1/NINJA.D64" && printf 'two' >"Disk 2/NINJA.D64"
    zip -qr ../ninja.zip "Disk 1" "Disk 2"
  )
else
  skip "extraction archives: zip missing"
fi
# Every other archive kind, made by the Linux tools from the cc1541 image, and what those tools
# unpack them to, for the client that unpacks them with no outside tool on the PATH.
if command -v gzip >/dev/null && command -v disk2zip >/dev/null && command -v cbmconvert >/dev/null &&
  command -v lha >/dev/null && command -v zip >/dev/null && [ -f "$data/demo.d64" ]; then
  (
    b="$data/extract/builtin" && mkdir -p "$b/expect" "$b/set" && cd "$b" || exit 1
    cp ../../demo.d64 expect/demo.d64
    gzip -nc ../../demo.d64 >demo.d64.gz
    (cd set && disk2zip ../../../demo.d64 demo >/dev/null && zip -q ../set.zip 1!demo 2!demo 3!demo 4!demo)
    cbmconvert -v0 -L demo.lnx -d ../../demo.d64 && (cd expect && cbmconvert -v0 -N -l ../demo.lnx)
    cp "$root/tests/tessary/extract/lha/archives/lha_unix114i/h1_lh5.lzh" .
    (cd expect && lha -eqf ../h1_lh5.lzh)
    touch expect/done
  ) >/dev/null 2>&1 || echo "note: the archives of the other kinds were not all made"
else
  echo "note: gzip, disk2zip, cbmconvert, lha or zip missing, the other archive kinds are skipped"
fi
# Zips in every compression method: 7-Zip's of the cc1541 image, and the real archives of
# other programs with what Debian's unzip or 7z unpacks them to ("-" where neither reads it; the
# reader's CRC-32 check is then the only oracle). One line per archive in list.txt:
# archive|member|expected bytes.
if command -v 7z >/dev/null && command -v unzip >/dev/null && [ -f "$data/demo.d64" ]; then
  (
    m="$data/extract/methods" && mkdir -p "$m" && cd "$m" || exit 1
    for method in Deflate Deflate64 BZip2 LZMA PPMd XZ; do
      7z a -tzip -mm=$method "7z-$method.zip" ../../demo.d64 >/dev/null
      echo "7z-$method.zip|demo.d64|../../demo.d64" >>list.txt
    done
    for a in "$root"/tests/tessary/extract/codecs/archives/*.zip "$root"/tests/tessary/extract/codecs/archives/*.ZIP; do
      # One member each: several would go to the chooser (shrink.zip covers SHRUNK.ZIP's method).
      [ "$(unzip -Z1 "$a" | wc -l)" -eq 1 ] || continue
      f=$(basename "$a") && cp "$a" . && member=$(unzip -Z1 "$f")
      if unzip -p "$f" "$member" >"$f.out" 2>/dev/null || { 7z x -so "$f" "$member" >"$f.out" 2>/dev/null && [ -s "$f.out" ]; }; then
        echo "$f|$member|$f.out" >>list.txt
      else
        echo "$f|$member|-" >>list.txt
      fi
    done
  ) || echo "note: the zips in every method were not all made"
else
  skip "zips in every method: 7z, unzip or cc1541 missing"
fi
if command -v sqlite3 >/dev/null; then
  sqlite3 "$data/extract/games.db" "CREATE TABLE Archive (GA_ID INTEGER, FileToRun TEXT);
    INSERT INTO Archive VALUES (7, 'BETA.PRG'); INSERT INTO Archive VALUES (8, NULL);
    INSERT INTO Archive VALUES (0, 'gamma.prg'); INSERT INTO Archive VALUES (9, 'gone.prg');
    INSERT INTO Archive VALUES (11, 'NINJA (Disk 2).D64');"
  sqlite3 "$data/extract/notable.db" "CREATE TABLE Games (GA_ID INTEGER);"
else
  skip "game databases: sqlite3 missing"
fi
# Names that SQL text built by hand would break, for the tessary_database clients; caf\202-\234 is
# cafe-pound in code page 437, as zip stores it.
if command -v zip >/dev/null && command -v sqlite3 >/dev/null; then
  (
    mkdir -p "$data/extract/hostile" && cd "$data/extract/hostile" || exit 1
    for n in "x'); DROP TABLE Archive; --.prg" "a;b -- c.prg" "it''s.prg" "$(printf 'caf\202-\234.prg')"; do
      printf 'game' >"$n"
    done
    zip -q ../hostile.zip ./*.prg
  )
  sqlite3 "$data/extract/hostile.db" "CREATE TABLE Archive (GA_ID INTEGER, FileToRun TEXT);
    INSERT INTO Archive VALUES (1, 'x''); DROP TABLE Archive; --.prg');
    INSERT INTO Archive VALUES (2, 'A;B -- C.PRG'); INSERT INTO Archive VALUES (3, 'IT''''S.PRG');
    INSERT INTO Archive VALUES (4, '$(printf 'caf\303\251-\302\243.prg')');
    INSERT INTO Archive VALUES (5, 'say \"hi\".prg'); INSERT INTO Archive VALUES (6, 'say \"hi\".prg');
    INSERT INTO Archive VALUES (5, 'say \"hi\".prg');"
  sqlite3 "$data/extract/choices.db" "CREATE TABLE Archive (GA_ID INTEGER, FileToRun TEXT);
    INSERT INTO Archive VALUES (99, 'x''); DROP TABLE Archive; --.prg');"
else
  skip "archive and databases of hostile names: zip or sqlite3 missing"
fi

# ---- register -----------------------------------------------------------------------------
dlls=("$build"/bin/*.dll "$build"/bin/wine-tests/*.dll)
for dll in "${dlls[@]}"; do
  [ -f "$dll" ] || continue
  "$wine" regsvr32 /s "$(winpath "$dll")" >/dev/null 2>&1
  record $? "regsvr32 $(basename "$dll")"
done

# ---- clients ------------------------------------------------------------------------------
# The settings the registry client writes start from nothing on every run.
"$wine" reg delete 'HKCU\Software\HalvaneWineTest' /f >/dev/null 2>&1
for exe in "$build"/bin/wine-tests/*_client.exe; do
  [ -f "$exe" ] || continue
  run_client "$(basename "$exe" .exe)" "$wine" "$exe" "$wdata"
done
for script in "$here"/scripts/*_client.vbs "$here"/scripts/*_client.js; do
  [ -f "$script" ] || continue
  run_client "$(basename "$script")" "$wine" cscript //nologo "$(winpath "$script")" "$wdata"
done

# ---- Tessary without Halvane -------------------------------------------------------------------
# Creating an hvExtract needs Halvane.hvFunctions: with Halvane alone unregistered it must fail.
if [ -f "$build/bin/Halvane.dll" ] && ls "$build"/bin/wine-tests/*_nohalvane.exe >/dev/null 2>&1; then
  "$wine" regsvr32 /s /u "$(winpath "$build/bin/Halvane.dll")" >/dev/null 2>&1
  for exe in "$build"/bin/wine-tests/*_nohalvane.exe; do
    run_client "$(basename "$exe" .exe)" "$wine" "$exe" "$wdata"
  done
  "$wine" regsvr32 /s "$(winpath "$build/bin/Halvane.dll")" >/dev/null 2>&1
  record $? "regsvr32 Halvane.dll again"
fi

# ---- settings written through Halvane.hvRegistry, read from outside ------------------------
if [ -f "$build/bin/wine-tests/halvane_registry_client.exe" ]; then
  reg_value() {  # "<name> <type> <data>" of one value, blanks squeezed; empty when absent
    "$wine" reg query 'HKCU\Software\HalvaneWineTest' /v "$1" 2>/dev/null | tr -d '\r' |
      grep -E "^ +$1 " | sed -E 's/^ +//; s/ +/ /g'
  }
  check_reg() {  # check_reg <name> <expected line, or empty for absent>
    local got
    got=$(reg_value "$1")
    [ "$got" = "$2" ]
    record $? "reg query $1: '${2:-absent}' (got '${got:-absent}')"
  }
  check_reg Text "Text REG_SZ ABC"
  check_reg Lower "Lower REG_SZ low"
  check_reg Number "Number REG_DWORD 0x5"
  check_reg RawOne "RawOne REG_DWORD 0x7"
  check_reg Default5 "Default5 REG_DWORD 0x5"
  check_reg NeverWritten ""
  check_reg NotANumber ""
  "$wine" reg delete 'HKCU\Software\HalvaneWineTest' /f >/dev/null 2>&1
fi

# ---- modal boxes under Xvfb ------------------------------------------------------------------
# *_gui clients show real message boxes and answer them from a second thread. The prefix's
# headless wineserver must go first, or the boxes land where no one finds them.
gui_clients=("$build"/bin/wine-tests/*_gui.exe)
if [ ! -f "${gui_clients[0]}" ]; then
  :
elif ! command -v xvfb-run >/dev/null; then
  skip "modal box clients: xvfb-run missing"
else
  /usr/lib/wine/wineserver -k >/dev/null 2>&1
  /usr/lib/wine/wineserver -w >/dev/null 2>&1
  for exe in "${gui_clients[@]}"; do
    # Each client gets its own X server; a wineserver lingering from the previous one still
    # talks to the display that is gone, and windows would land there.
    /usr/lib/wine/wineserver -k >/dev/null 2>&1
    /usr/lib/wine/wineserver -w >/dev/null 2>&1
    run_client "$(basename "$exe" .exe)" timeout 240 xvfb-run -a "$wine" "$exe" "$wdata"
  done
  /usr/lib/wine/wineserver -k >/dev/null 2>&1
  /usr/lib/wine/wineserver -w >/dev/null 2>&1
  keep_server
fi

# ---- hv.exe against the Linux hv ------------------------------------------------------------
linux_hv="$(dirname "$build")/linux-release/bin/hv"
if [ ! -x "$linux_hv" ]; then
  skip "hv.exe against the Linux hv: $linux_hv missing (the linux-release preset builds it)"
elif [ ! -f "$build/bin/hv.exe" ]; then
  skip "hv.exe against the Linux hv: hv.exe missing"
else
  for f in demo.d64 hellwrld.p00 "hello world.prg" three.d64 bytes.d64 header.t64 c000.prg gap.p00; do
    if [ ! -f "$data/$f" ]; then
      skip "hv.exe list --json $f: the file was not made"
      continue
    fi
    want=$(cd "$data" && "$linux_hv" list --json "$f" 2>/dev/null; echo "exit $?")
    if [ "${want%exit *}" = "" ] && [ "${want##*exit }" != 0 ]; then
      skip "hv.exe list --json $f: the Linux hv lists nothing for it (${want})"
      continue
    fi
    got=$(cd "$data" && "$wine" "$build/bin/hv.exe" list --json "$f" 2>/dev/null | tr -d '\r'; echo "exit ${PIPESTATUS[0]}")
    if [ "$want" = "$got" ]; then
      record 0 "hv.exe list --json $f matches the Linux hv"
    else
      record 1 "hv.exe list --json $f differs from the Linux hv"
      diff <(echo "$want") <(echo "$got") | head -20 | sed 's/^/  /'
    fi
  done
fi

# ---- the i686 build beside this one ------------------------------------------------------------
# Checked from the x86_64 run, as it needs no 32-bit program to start: every server DLL of both
# builds exports its entry points undecorated (stdcall names would carry @N) and nothing else,
# and the two type libraries of each server describe the same members.
other="$(dirname "$build")/windows-x86"
if [ "$arch" = win64 ] && [ -f "$other/bin/Tessary.dll" ] && [ -f "$build/bin/wine-tests/typelib_compare.exe" ]; then
  want="DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer"
  pairs=()
  for dll in "$build"/bin/*.dll; do
    name=$(basename "$dll")
    [ -f "$other/bin/$name" ] || { record 1 "$name: no i686 build beside the x86_64 one"; continue; }
    pairs+=("$(winpath "$dll")" "$(winpath "$other/bin/$name")")
    for f in "$dll" "$other/bin/$name"; do
      got=$(x86_64-w64-mingw32-objdump -p "$f" 2>/dev/null |
        awk '/\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && NF == 0 {t = 0} t {print $NF}' |
        sort | xargs)
      if [ "$got" = "$want" ]; then
        record 0 "$(basename "$(dirname "$(dirname "$f")")")/$name exports its entry points undecorated"
      else
        record 1 "$(basename "$(dirname "$(dirname "$f")")")/$name exports ${got:-nothing}, not $want"
      fi
    done
  done
  [ ${#pairs[@]} -gt 0 ] && run_client typelib_compare "$wine" "$build/bin/wine-tests/typelib_compare.exe" "${pairs[@]}"
elif [ "$arch" = win64 ]; then
  skip "exports and type libraries against the i686 build: $other not built"
fi

# ---- hostile arguments, in a prefix of their own with no drive onto the host ------------------
# A fixed seed and a bounded time (HV_HOSTILE_SECONDS, default 60); tests/wine/hostile.sh runs
# longer hunts by hand.
if [ -f "$build/bin/wine-tests/hostile_calls.exe" ]; then
  run_client hostile_calls "$here/hostile.sh" "$build" "${HV_HOSTILE_SECONDS:-60}" 1
fi

# ---- unregister ---------------------------------------------------------------------------
for dll in "${dlls[@]}"; do
  [ -f "$dll" ] || continue
  "$wine" regsvr32 /s /u "$(winpath "$dll")" >/dev/null 2>&1
  record $? "regsvr32 /u $(basename "$dll")"
  "$wine" regsvr32 /s /u "$(winpath "$dll")" >/dev/null 2>&1
  record $? "regsvr32 /u $(basename "$dll") again (nothing left to remove)"
done
for exe in "$build"/bin/wine-tests/*_unregistered.exe; do
  [ -f "$exe" ] || continue
  run_client "$(basename "$exe" .exe)" "$wine" "$exe" "$wdata"
done
for script in "$here"/scripts/*_unregistered.vbs; do
  [ -f "$script" ] || continue
  run_client "$(basename "$script")" "$wine" cscript //nologo "$(winpath "$script")" "$wdata"
done

# ---- registration for the current user alone ------------------------------------------------
# `regsvr32 /n /i:user` (DllInstall) writes below HKCU\Software\Classes only, and the matching
# /u takes all of it away again; nothing is registered for every user by then.
peruser="$build/bin/wine-tests/registration_peruser.exe"
if [ -f "$peruser" ] && [ -f "$build/bin/Tessary.dll" ] && [ -f "$build/bin/Halvane.dll" ]; then
  for dll in Tessary.dll Halvane.dll; do
    "$wine" regsvr32 /s /n /i:user "$(winpath "$build/bin/$dll")" >/dev/null 2>&1
    record $? "regsvr32 /n /i:user $dll"
  done
  run_client "registration_peruser (registered)" "$wine" "$peruser" "$(winpath "$build/bin")" RegisteredForUser
  for dll in Tessary.dll Halvane.dll; do
    for round in "" " again"; do
      "$wine" regsvr32 /s /u /n /i:USER "$(winpath "$build/bin/$dll")" >/dev/null 2>&1
      record $? "regsvr32 /u /n /i:USER $dll$round"
    done
  done
  run_client "registration_peruser (gone)" "$wine" "$peruser" "$(winpath "$build/bin")" GoneForUser
fi

/usr/lib/wine/wineserver -k >/dev/null 2>&1
summary
