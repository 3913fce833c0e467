#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, and where the kernel cannot start
# 32-bit x86 programs fetches qemu-i386 into build/tools (scripts/fetch_qemu.sh). Idempotent:
# when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libbz2-dev liblzma-dev libsqlite3-dev unixodbc-dev libcli11-dev nlohmann-json3-dev
  # Windows cross-build and Wine
  mingw-w64 mingw-w64-tools libz-mingw-w64-dev libwine-dev wine wine64
  xvfb xauth x11-apps x11-utils imagemagick unixodbc libsqliteodbc
  # the 32-bit servers under Wine (i386 loader, ODBC, stdole2.tlb for widl -m32); the setup program
  wine32:i386 libodbc2:i386 libsqliteodbc:i386 nsis
  # test peers: tools that make C64 images and archives no one here wrote
  cc1541 cbmconvert lhasa zip unzip gzip sidplayfp p7zip-full acme cc65
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Where this kernel cannot start 32-bit x86 programs, the 32-bit Wine tests run them through
# qemu-i386 (tests/wine/i386.sh), unpacked into build/tools from Debian's backports suite and
# never installed. Without it those tests say why they were skipped.
here=$(cd "$(dirname "$0")/.." && pwd)
if ! "$here/tests/wine/probe32.sh" >/dev/null; then
  "$here/scripts/fetch_qemu.sh" >/dev/null || echo "bootstrap: no qemu-i386; the 32-bit Wine tests will be skipped"
fi
