#!/usr/bin/env bash
# Calls every member of both servers with hostile arguments (hostile_calls.exe), in a Wine prefix
# of its own whose only drives are C: and a scratch drive S:, so that no string the members get
# can reach the host's files through Z: (the host's "/").
#   tests/wine/hostile.sh BUILD_DIR [SECONDS] [SEED] [CALLS]
# Defaults: 60 s, seed 1, 20000 calls (what every CI run does); give more for a longer hunt.
# Fails when a call fails, the client stops early, or a file of the prefix's drive C: outside
# scratch changed. Ends with "CHECKS <passed> <failed> <skipped>".
set -uo pipefail

build=$(cd "${1:?usage: hostile.sh BUILD_DIR [SECONDS] [SEED] [CALLS]}" && pwd) || exit 2
seconds=${2:-60}
seed=${3:-1}
calls=${4:-20000}
# The loader of the build's architecture: run.sh exports WINEARCH (win64 unless told).
case "${WINEARCH:-win64}" in
  win32) wine=/usr/lib/wine/wine ;;
  *) wine=/usr/lib/wine/wine64 ;;
esac
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$build/wineprefix-hostile" WINEDEBUG=-all
unset DISPLAY  # no box can be shown, so none can wait for an answer
scratch="$build/hostile-scratch"
drive_c="$WINEPREFIX/drive_c"
home="$drive_c/hostile"

fail() {
  echo "FAIL $*"
  echo "CHECKS 0 1 0"
  exit 1
}

for f in Tessary.dll Halvane.dll wine-tests/hostile_calls.exe wine-tests/standin_emulator.exe; do
  [ -f "$build/bin/$f" ] || fail "$build/bin/$f missing"
done
[ -x "$wine" ] || fail "$wine not installed"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "making Wine prefix $WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot"
fi
"$wineserver" -k >/dev/null 2>&1
"$wineserver" -w >/dev/null 2>&1

# ---- drives: C: and the scratch drive only ----------------------------------------------------
rm -rf "$scratch"
mkdir -p "$scratch"
for link in "$WINEPREFIX"/dosdevices/*; do
  [ "$(basename "$link")" = "c:" ] || rm -f "$link"
done
ln -s "$scratch" "$WINEPREFIX/dosdevices/s:"
drives=$(cd "$WINEPREFIX/dosdevices" && ls | tr '\n' ' ')
[ "$drives" = "c: s: " ] || fail "the prefix still maps drives: $drives"

# ---- the servers, the client and its inputs, inside drive C: -----------------------------------
rm -rf "$home"
mkdir -p "$home/seed"
cp "$build/bin/Tessary.dll" "$build/bin/Halvane.dll" "$build/bin/wine-tests/hostile_calls.exe" "$home/"
cp "$build/bin/wine-tests/standin_emulator.exe" "$home/seed/"
(
  cd "$home/seed" || exit 1
  printf '\001\010\013\010\012\000\231"HI"\000\000\000' >prog.prg
  cc1541 -n "hostile disk" -i "hv 2a" -f "first" -w prog.prg -f "second" -T SEQ -w prog.prg \
    disk.d64 >/dev/null 2>&1
  cbmconvert -P -d disk.d64 >/dev/null 2>&1
  cbmconvert -L game.lnx -d disk.d64 >/dev/null 2>&1
  zip -q game.zip disk.d64 prog.prg
  zip -q single.zip disk.d64
  cp prog.prg gz.prg && gzip -f gz.prg
  lha -aq game.lha prog.prg >/dev/null 2>&1
  # A T64 tape of one entry and a PSID header of three songs, byte by byte.
  {
    printf 'C64 tape image file'
    head -c 13 /dev/zero
    printf '\000\001\001\000\001\000\000\000HOSTILE TAPE            '
    printf '\001\202\001\010\016\010\000\000\100\000\000\000\000\000\000\000PROG            '
    printf '\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000'
    printf '\013\010\012\000\231"HI"\000\000\000'
  } >tape.t64
  {
    printf 'PSID\000\002\000\174\020\000\020\003\000\003\000\002\000\000\000\000'
    printf 'Hostile tune'; head -c 20 /dev/zero
    printf 'Someone'; head -c 25 /dev/zero
    printf '2026 Nobody'; head -c 21 /dev/zero
    head -c 6 /dev/zero
    printf '\000\020\140'
  } >tune.sid
  printf 'ROM=old\r\nJOY1=0\r\n[Section]\r\nKEY=1\r\n' >emu.ini
  ls *.p00 >/dev/null 2>&1 || echo "note: cbmconvert made no P00 file" >&2
)
for dll in Tessary.dll Halvane.dll; do
  "$wine" regsvr32 /s "C:\\hostile\\$dll" >/dev/null 2>&1 || fail "regsvr32 $dll"
done
"$wine" reg delete 'HKCU\Software\HalvaneHostileTest' /f >/dev/null 2>&1

# ---- run, and compare drive C: before and after ------------------------------------------------
# Wine's own volatile files (temporary folders) are left out; the registry lives outside drive_c.
checksums() {
  (cd "$drive_c" && find . -type f ! -path './users/*/Temp/*' ! -path './windows/temp/*' -print0 |
    sort -z | xargs -0 sha1sum)
}
# The user's settings outside the test key: every key and value, Wine's time stamps left out,
# and Wine's font cache, which a fresh prefix fills the first time a program draws text.
settings() {
  awk '/^\[/ { skip = ($0 ~ /HalvaneHostileTest|^\[Software\\\\Wine\\\\Fonts/) } !skip && !/^#time=/' \
    "$WINEPREFIX/user.reg" |
    sed -E 's/^(\[.*\]) [0-9]+$/\1/'
}
"$wineserver" -k >/dev/null 2>&1
"$wineserver" -w >/dev/null 2>&1
before=$(checksums)
settings_before=$(settings)
"$wineserver" -p >/dev/null 2>&1  # one server for the run: a cold start is slow under qemu-i386
timeout --kill-after=10 $((seconds + 180)) "$wine" 'C:\hostile\hostile_calls.exe' 'C:\hostile\seed' \
  "$seed" "$calls" "$seconds" >"$build/hostile-output.txt" 2>&1
rc=$?
"$wineserver" -k >/dev/null 2>&1
"$wineserver" -w >/dev/null 2>&1
after=$(checksums)
settings_after=$(settings)
tr -d '\r' <"$build/hostile-output.txt" | grep -v '^CHECKS '
line=$(tr -d '\r' <"$build/hostile-output.txt" | grep '^CHECKS ' | tail -1)
passed=0
failed=0
skipped=0
if [[ "$line" =~ ^CHECKS\ [0-9]+\ [0-9]+\ [0-9]+$ ]]; then
  set -- $line
  passed=$2
  failed=$3
  skipped=$4
  if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
    echo "FAIL hostile_calls exited $rc"
    failed=$((failed + 1))
  fi
else
  echo "FAIL hostile_calls stopped before reporting (exit $rc${line:+, closing line '$line'})"
  failed=$((failed + 1))
fi
if [ "$before" = "$after" ]; then
  passed=$((passed + 1))
  echo "ok   no file of drive C: outside scratch changed"
else
  failed=$((failed + 1))
  echo "FAIL files of drive C: outside scratch changed:"
  diff <(echo "$before") <(echo "$after") | head -20 | sed 's/^/  /'
fi
if [ "$settings_before" = "$settings_after" ]; then
  passed=$((passed + 1))
  echo "ok   no setting outside HKCU\\Software\\HalvaneHostileTest changed"
else
  failed=$((failed + 1))
  echo "FAIL settings outside the test key changed:"
  diff <(echo "$settings_before") <(echo "$settings_after") | head -20 | sed 's/^/  /'
fi
[ -n "$(ls -A "$WINEPREFIX/dosdevices/s:/" 2>/dev/null)" ] && [ ! -e "$WINEPREFIX/dosdevices/z:" ]
if [ $? -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL drives changed"; fi

for dll in Tessary.dll Halvane.dll; do
  "$wine" regsvr32 /s /u "C:\\hostile\\$dll" >/dev/null 2>&1
done
"$wine" reg delete 'HKCU\Software\HalvaneHostileTest' /f >/dev/null 2>&1
"$wineserver" -k >/dev/null 2>&1
echo "CHECKS $passed $failed $skipped"
[ "$failed" -eq 0 ]
