#!/usr/bin/env bash
# Succeeds when this kernel starts 32-bit x86 programs; otherwise prints why not and fails.
# The probe is a three-instruction i386 Linux program (exit status 42) made with binutils'
# `as --32` and `ld -m elf_i386`, so the answer needs neither a cross compiler nor Wine.
set -uo pipefail
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n  mov $1, %%eax\n  mov $42, %%ebx\n  int $0x80\n' >"$dir/probe.s"
if ! as --32 -o "$dir/probe.o" "$dir/probe.s" 2>"$dir/err" ||
  ! ld -m elf_i386 -o "$dir/probe" "$dir/probe.o" 2>>"$dir/err"; then
  echo "the i386 probe program could not be built: $(head -1 "$dir/err")"
  exit 1
fi
err=$("$dir/probe" 2>&1)
rc=$?
[ "$rc" -eq 42 ] && exit 0
# tests/wine/i386.sh says why qemu-i386 could not stand in either.
echo "the kernel cannot start a 32-bit program (exit $rc${err:+: ${err##*: }})${HV_I386_WHY:+, and $HV_I386_WHY}"
exit 1
