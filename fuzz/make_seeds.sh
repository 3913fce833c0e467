#!/usr/bin/env bash
# Builds the fuzz seed corpora in SEED_DIR: one folder per target. Inputs come from cc1541,
# cbmconvert and zip where they are installed, and from the seed generator.
set -euo pipefail
seeds=$1
seed_gen=$2
lha_archives=$(cd "$(dirname "$0")/../tests/tessary/extract/lha/archives" 2>/dev/null && pwd || true)

rm -rf "$seeds"
mkdir -p "$seeds"
"$seed_gen" "$seeds"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '\x01\x08\x0b\x08\x0a\x00\x9e\x32\x30\x36\x31\x00\x00\x00' >hello.prg
head -c 3000 /dev/zero | tr '\0' '\352' >big.prg
printf 'SEQUENTIAL DATA\r' >data.seq

if command -v cc1541 >/dev/null; then
  mkdir -p "$seeds/d64"
  cc1541 -n "EMPTY DISK" -i "ED" empty.d64 >/dev/null
  cc1541 -n "SEED DISK" -i "SD" -f "HELLO" -w hello.prg -f "BIG ONE" -w big.prg \
    -T SEQ -f "DATA" -w data.seq three.d64 >/dev/null
  args=()
  for i in $(seq 1 20); do args+=(-f "FILE$i" -w hello.prg); done
  cc1541 -n "LONG DIR" -i "LD" "${args[@]}" many.d64 >/dev/null
  cc1541 -n "LOCKED" -i "LK" -P -f "LOCKED" -w hello.prg -O -f "OPEN" -w hello.prg \
    -L -f "LINK" locked.d64 >/dev/null 2>&1 || true
  cp empty.d64 three.d64 many.d64 "$seeds/d64/"
  [ -f locked.d64 ] && cp locked.d64 "$seeds/d64/"
fi

if command -v cbmconvert >/dev/null; then
  mkdir -p p00out && (cd p00out && cbmconvert -v0 -P -n ../hello.prg ../big.prg >/dev/null 2>&1 || true)
  if [ -f three.d64 ]; then
    (cd p00out && cbmconvert -v0 -P -d ../three.d64 >/dev/null 2>&1 || true)
  fi
  mkdir -p "$seeds/p00"
  for f in p00out/*; do [ -f "$f" ] && cp "$f" "$seeds/p00/cbmconvert-$(basename "$f")"; done
fi

if command -v zip >/dev/null; then
  mkdir -p "$seeds/zip" tree/games/sub
  cp hello.prg tree/games/
  cp big.prg tree/games/sub/
  [ -f three.d64 ] && cp three.d64 tree/games/ || true
  zip -q -j flat.zip hello.prg big.prg data.seq
  zip -q -0 -j stored.zip hello.prg data.seq
  (cd tree && zip -q -r ../folders.zip games)
  zip -q -j nested.zip flat.zip hello.prg
  zip -q -j -z commented.zip hello.prg <<<'an archive comment'
  cp flat.zip stored.zip folders.zip nested.zip commented.zip "$seeds/zip/"
fi

if command -v cbmconvert >/dev/null && [ -f three.d64 ]; then
  mkdir -p "$seeds/lynx"
  cbmconvert -v0 -L "$seeds/lynx/three.lnx" -d three.d64 >/dev/null 2>&1 || true
  cbmconvert -v0 -L "$seeds/lynx/many.lnx" -d many.d64 >/dev/null 2>&1 || true
  : >empty.prg
  cbmconvert -v0 -n -L "$seeds/lynx/raw.lnx" empty.prg hello.prg big.prg >/dev/null 2>&1 || true
fi

# The decoders' own inputs: each entry's data from the real archives of other programs and
# from 7-Zip's zips, framed as fuzz_zipmethods reads them.
codec_archives=$(cd "$(dirname "$0")/../tests/tessary/extract/codecs/archives" 2>/dev/null && pwd || true)
if command -v python3 >/dev/null; then
  mkdir -p "$seeds/zipmethods" methods
  if command -v 7z >/dev/null && [ -f three.d64 ]; then
    for m in Deflate Deflate64 BZip2 LZMA PPMd XZ; do 7z a -tzip -mm=$m "methods/$m.zip" three.d64 >/dev/null; done
  fi
  [ -n "$codec_archives" ] && cp "$codec_archives"/*.zip "$codec_archives"/*.ZIP methods/ 2>/dev/null
  python3 - "$seeds/zipmethods" methods/* <<'PY'
import struct, sys
methods = [1, 2, 3, 4, 5, 6, 8, 9, 12, 14, 95, 98]
out = sys.argv[1]
for path in sys.argv[2:]:
    data = open(path, 'rb').read()
    at = 0
    while data[at:at + 4] == b'PK\x03\x04':
        flags, method = struct.unpack_from('<HH', data, at + 6)
        csize, usize, nlen, xlen = struct.unpack_from('<IIHH', data, at + 18)
        start = at + 30 + nlen + xlen
        if method in methods and csize and not flags & 8:
            size = min((usize + 255) // 256, 65535)
            with open('%s/%s-%d' % (out, path.split('/')[-1], at), 'wb') as f:
                f.write(bytes([methods.index(method), flags & 0xFF]) + struct.pack('<H', size) +
                        data[start:start + csize])
        at = start + csize
PY
fi

if command -v gzip >/dev/null; then
  mkdir -p "$seeds/gzip"
  gzip -c hello.prg >"$seeds/gzip/hello.gz"
  gzip -9 -c big.prg >"$seeds/gzip/big.gz"
  { gzip -c hello.prg; gzip -1 -c data.seq; } >"$seeds/gzip/members.gz"
  { gzip -c data.seq; printf 'trailing'; } >"$seeds/gzip/garbage.gz"
fi

# LHA seeds: archives from lhasa's test set, one per archiver family and method.
if [ -n "$lha_archives" ]; then
  mkdir -p "$seeds/lha"
  for a in lha213/lh5.lzh lha213/subdir.lzh lharc113/lh1.lzh larc333/lz5.lzs \
    lha_unix114i/h2_lh6.lzh lha_unix114i/h1_lh7.lzh lha_unix114i/h1_symlink.lzh \
    lha_amiga_122/lh4.lzh lha_os2_208/h3_lh5.lzh lhark04d/lh7.lzh unlha32/h2_lhx.lzh \
    pmarc124/pm1.pma pmarc2/pm2.pma pmarc2/pm0.pma maclha_224/l1_lh5.lzh \
    generated/lzs/lzs.lzs regression/dotdot.lzh lha_x68k_213/sfx.x; do
    cp "$lha_archives/$a" "$seeds/lha/$(echo "$a" | tr / _)"
  done
fi

# Zipcode seeds frame the parts as fuzz_zipcode reads them: a byte of present parts, then
# each part as a 16-bit little-endian length and its bytes.
byte() { printf "\\x$(printf %02x "$1")"; }
frame() {
  byte "$1"
  shift
  for f in "$@"; do
    n=$(stat -c%s "$f")
    byte $((n & 255))
    byte $((n >> 8))
    cat "$f"
  done
}
if command -v disk2zip >/dev/null && [ -f three.d64 ]; then
  mkdir -p "$seeds/zipcode"
  disk2zip three.d64 three >/dev/null 2>&1 && frame 15 1!three 2!three 3!three 4!three \
    >"$seeds/zipcode/three.set"
  # A fifth part of empty sectors (tracks 36-40, 17 sectors each, filled with zeros).
  {
    byte 0
    byte 4
    for t in 36 37 38 39 40; do
      for s in $(seq 0 16); do
        byte $((0x40 | t))
        byte "$s"
        byte 0
      done
    done
  } >5!three
  frame 31 1!three 2!three 3!three 4!three 5!three >"$seeds/zipcode/forty.set"
fi
