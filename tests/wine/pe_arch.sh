#!/usr/bin/env bash
# Prints win64 or win32 for a Windows program or DLL, from the machine field of its PE header.
set -uo pipefail
file=${1:?usage: pe_arch.sh FILE}
[ -f "$file" ] || { echo "$file: missing" >&2; exit 1; }
u16() { od -An -tu2 -j "$1" -N2 "$file" | tr -d ' '; }
u32() { od -An -tu4 -j "$1" -N4 "$file" | tr -d ' '; }
pe=$(u32 60)
case "$(u16 $((pe + 4)))" in
  34404) echo win64 ;;  # 0x8664, x86_64
  332) echo win32 ;;    # 0x14c, i386
  *) echo "$file: not an x86 or x86_64 PE file" >&2; exit 1 ;;
esac
