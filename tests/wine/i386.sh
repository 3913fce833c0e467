#!/usr/bin/env bash
# Runs a command where 32-bit x86 programs (the 32-bit Wine loader) can start:
#   tests/wine/i386.sh COMMAND...
# 1. natively, when this kernel starts them (probe32.sh);
# 2. otherwise through qemu-i386 (scripts/fetch_qemu.sh puts it in build/tools, or
#    HV_QEMU_I386 names one) in a private user and mount namespace with a binfmt_misc of its
#    own (kernel 6.7 and later), whose only handler hands i386 ELF programs to qemu-i386; the
#    machine's binfmt handlers stay as they were;
# 3. otherwise as it is, with HV_I386_WHY saying why neither worked: probe32.sh adds it to the
#    reason it prints, and the command skips what needs 32-bit programs with that line.
# The first line printed, "i386 programs: <how>", says which of the three happened.
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: i386.sh COMMAND..." >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

# Inside the namespace: mount binfmt_misc, register the handler, prove it, then run.
if [ "${1:-}" = --inside ]; then
  qemu=$2 ready=$3 version=$4
  shift 4
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>"$ready.err" ||
    { echo "binfmt_misc cannot be mounted in a user namespace: $(head -1 "$ready.err")" >"$ready.why"; exit 1; }
  # An i386 ELF executable or shared object (e_ident class 1, data 1; e_machine 3), handed to
  # qemu-i386 with its name kept (P), opened by the kernel (O), the interpreter opened now (F).
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":hv-i386:M::$magic:$mask:$qemu:POF" >/proc/sys/fs/binfmt_misc/register 2>"$ready.err" ||
    { echo "the i386 handler cannot be registered: $(head -1 "$ready.err")" >"$ready.why"; exit 1; }
  why=$("$here/probe32.sh") || { echo "qemu-i386 does not start the probe: $why" >"$ready.why"; exit 1; }
  : >"$ready"
  echo "i386 programs: through $version in a private user namespace"
  exec 2>&3 3>&-
  exec "$@"
fi

if "$here/probe32.sh" >/dev/null; then
  echo "i386 programs: natively"
  exec "$@"
fi
kernel=$("$here/probe32.sh")
qemu=${HV_QEMU_I386:-$root/build/tools/qemu-user/usr/bin/qemu-i386}
why=""
if ! version=$("$qemu" --version 2>/dev/null | head -1); then
  why="no qemu-i386 at $qemu (scripts/fetch_qemu.sh fetches it)"
elif ! command -v unshare >/dev/null; then
  why="unshare (util-linux) missing"
else
  state=$(mktemp -d) || exit 1
  ready=$state/ready
  # The command's own output passes straight through; the namespace's failure to start is told
  # apart from the command's by the ready file, made just before the command runs.
  unshare --user --map-root-user --mount --fork "$0" --inside "$qemu" "$ready" "${version% (*}" "$@" \
    3>&2 2>"$state/err"
  rc=$?
  if [ -e "$ready" ]; then
    rm -rf "$state"
    exit "$rc"
  fi
  if [ -s "$ready.why" ]; then
    why=$(cat "$ready.why")
  else
    why="no private user namespace: $(head -1 "$state/err")"
  fi
  rm -rf "$state"
fi
echo "i386 programs: not at all"
export HV_I386_WHY="$why"
exec "$@"
