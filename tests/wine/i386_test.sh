#!/usr/bin/env bash
# Checks tests/wine/i386.sh, the way 32-bit programs start for the 32-bit Wine run: the line that
# says how, the command's output and exit status passed through, the reason given when there is
# no way, and the machine's binfmt handlers left as they were. Ends with "N passed, N failed,
# N skipped".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$here/tally.sh"

binfmt() { ls /proc/sys/fs/binfmt_misc 2>/dev/null | sort | xargs; }
host_binfmt=$(binfmt)
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# A command that shows where it ran: the probe's answer, its reason, and what it was given.
probe_cmd=(bash -c '"$0" && echo "probe ok" || echo "probe failed"; echo "to stderr" >&2; exit 7'
  "$here/probe32.sh")

if "$here/probe32.sh" >/dev/null; then
  HV_QEMU_I386=/nonexistent "$here/i386.sh" "${probe_cmd[@]}" >"$out" 2>"$err"
  rc=$?
  [ "$(head -1 "$out")" = "i386 programs: natively" ] && grep -qx "probe ok" "$out" && [ $rc = 7 ]
  record $? "natively where the kernel starts i386 programs, exit status kept"
  skip "qemu-i386 in a private namespace: this kernel starts i386 programs itself"
  summary
  exit
fi

# No qemu-i386: the command still runs, and the probe's reason says why neither way worked.
HV_QEMU_I386=/nonexistent/qemu-i386 "$here/i386.sh" "${probe_cmd[@]}" >"$out" 2>"$err"
rc=$?
[ "$(head -1 "$out")" = "i386 programs: not at all" ]
record $? "without qemu-i386 the first line says so (got '$(head -1 "$out")')"
grep -q "^the kernel cannot start a 32-bit program (.*), and no qemu-i386 at /nonexistent/qemu-i386" "$out" &&
  grep -qx "probe failed" "$out"
record $? "the probe's reason names both the kernel's refusal and the missing qemu-i386"
[ $rc = 7 ] && grep -qx "to stderr" "$err"
record $? "without qemu-i386 the command's exit status and stderr pass through (exit $rc)"

qemu=${HV_QEMU_I386:-$root/build/tools/qemu-user/usr/bin/qemu-i386}
if ! "$qemu" --version >/dev/null 2>&1; then
  skip "qemu-i386 in a private namespace: no qemu-i386 at $qemu (scripts/fetch_qemu.sh fetches it)"
  summary
  exit
fi
"$here/i386.sh" "${probe_cmd[@]}" >"$out" 2>"$err"
rc=$?
first=$(head -1 "$out")
if grep -q "no private user namespace\|binfmt_misc cannot be mounted" "$out"; then
  skip "qemu-i386 in a private namespace: $(grep '^the kernel' "$out")"
  summary
  exit
fi
[[ "$first" =~ ^i386\ programs:\ through\ qemu-i386\ version\ [0-9.]+\ in\ a\ private\ user\ namespace$ ]]
record $? "through qemu-i386 the first line names its version (got '$first')"
grep -qx "probe ok" "$out"
record $? "the i386 probe starts inside the namespace"
[ $rc = 7 ] && grep -qx "to stderr" "$err" && [ "$(wc -l <"$err")" -eq 1 ]
record $? "inside the namespace the command's exit status and stderr pass through (exit $rc)"
[ "$(binfmt)" = "$host_binfmt" ] && ! "$here/probe32.sh" >/dev/null
record $? "the machine's binfmt_misc is as it was (${host_binfmt:-not mounted})"
# A namespace per run: two at once do not see each other's handler.
"$here/i386.sh" bash -c 'ls /proc/sys/fs/binfmt_misc | sort | xargs' >"$out" 2>/dev/null
[ "$(tail -1 "$out")" = "hv-i386 register status" ]
record $? "the namespace's binfmt_misc holds one handler (got '$(tail -1 "$out")')"
summary
