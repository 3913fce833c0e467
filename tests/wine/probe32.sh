#!/usr/bin/env bash
# Succeeds when this kernel starts 32-bit x86 programs; otherwise prints why not and fails.
# The probe is a 96-byte i386 Linux program written here (ELF header, one segment, then
# "mov eax,1; mov ebx,42; int 0x80"), so the answer needs neither a compiler nor Wine.
set -uo pipefail
probe=$(mktemp) || exit 1
trap 'rm -f "$probe"' EXIT
{
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'   # 32-bit, little-endian
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'           # executable, i386, entry
  printf '\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'           # program headers at 52
  printf '\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'           # one program header
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'  # load from 0
  printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'  # 96 bytes, r-x
  printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'           # exit(42)
} >"$probe"
chmod +x "$probe"
err=$("$probe" 2>&1)
rc=$?
[ "$rc" -eq 42 ] && exit 0
echo "the kernel cannot start a 32-bit program (exit $rc${err:+: ${err##*: }})"
exit 1
