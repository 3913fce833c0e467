#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Idempotent: when everything is
# present it only checks and returns.
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
  cc1541 cbmconvert lhasa zip unzip p7zip-full gzip sidplayfp
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
