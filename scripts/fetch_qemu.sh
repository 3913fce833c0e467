#!/usr/bin/env bash
# Fetches qemu-i386 (user mode) for the 32-bit Wine tests on a kernel that cannot start i386
# programs itself (tests/wine/i386.sh). Release 7.2 of this machine's Debian is unusable for
# Wine (it ignores MAP_FIXED_NOREPLACE, and each Wine process then spends about a minute
# reserving its address space); the package of the release's backports suite works.
#   scripts/fetch_qemu.sh [DEST]     (default build/tools/qemu-user)
# Fetched by package name and suite from the archive the machine's own Debian sources name,
# through apt-get with private sources, lists and cache, and unpacked with dpkg-deb into DEST:
# the machine's apt sources, installed packages and binfmt handlers stay as they were.
# Prints the path of qemu-i386; does nothing when DEST already holds a working one.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-$root/build/tools/qemu-user}
qemu=$dest/usr/bin/qemu-i386
package=qemu-user

if "$qemu" --version >/dev/null 2>&1; then
  echo "$qemu"
  exit 0
fi
die() { echo "fetch_qemu: $*" >&2; exit 1; }
command -v apt-get >/dev/null && command -v dpkg-deb >/dev/null || die "apt-get or dpkg-deb missing"

codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || die "no VERSION_CODENAME in /etc/os-release"
suite=$codename-backports

# The archive (URI and keyring) of the stanza that carries the release itself, read from the
# machine's deb822 sources, or else from a one-line sources.list entry.
uri="" keyring=""
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  read -r uri keyring < <(awk -v rel="$codename" '
    BEGIN { RS = ""; FS = "\n" }
    {
      u = ""; k = ""; hit = 0; deb = 0
      for (i = 1; i <= NF; i++) {
        if ($i ~ /^URIs:/) { split($i, a, /[ \t]+/); u = a[2] }
        if ($i ~ /^Signed-By:/) { split($i, a, /[ \t]+/); k = a[2] }
        if ($i ~ /^Types:.*(^|[ \t])deb([ \t]|$)/) deb = 1
        if ($i ~ /^Suites:/) { n = split($i, a, /[ \t]+/); for (j = 2; j <= n; j++) if (a[j] == rel) hit = 1 }
      }
      if (hit && deb && u != "") { print u, k; exit }
    }' "$f")
  [ -n "$uri" ] && break
done
if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
  read -r uri keyring < <(awk -v rel="$codename" '
    $1 == "deb" {
      k = ""; i = 2
      if ($2 ~ /^\[/) { for (; i <= NF; i++) { if ($i ~ /signed-by=/) { k = $i; sub(/.*signed-by=/, "", k); sub(/\]$/, "", k) } if ($i ~ /\]$/) break } i++ }
      if ($(i + 1) == rel) { print $i, k; exit }
    }' /etc/apt/sources.list)
fi
[ -n "$uri" ] || die "no Debian source for $codename in /etc/apt/sources.list.d or /etc/apt/sources.list"

work=$dest.apt
rm -rf "$work"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/deb" || die "cannot make $work"
{
  echo "Types: deb"
  echo "URIs: $uri"
  echo "Suites: $suite"
  echo "Components: main"
  [ -n "$keyring" ] && echo "Signed-By: $keyring"
} >"$work/private.sources"
apt=(apt-get -q -o "Dir::Etc::SourceList=$work/private.sources" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o APT::Sandbox::User=root)
"${apt[@]}" update >"$work/update.log" 2>&1 || die "apt-get update of $suite failed: $(tail -1 "$work/update.log")"
(cd "$work/deb" && "${apt[@]}" download "$package/$suite") >"$work/download.log" 2>&1 ||
  die "apt-get download $package/$suite failed: $(tail -1 "$work/download.log")"
deb=$(ls "$work"/deb/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || die "apt-get download $package/$suite left no package"
rm -rf "$dest"
dpkg-deb -x "$deb" "$dest" || die "dpkg-deb -x $(basename "$deb") failed"
rm -rf "$work"
# The package holds every emulator (some 360 MB): keep the one the tests use and the licence.
find "$dest" ! -type d ! -path "$qemu" ! -name copyright -delete
"$qemu" --version >/dev/null 2>&1 || die "$qemu from $(basename "$deb") does not run"
echo "$qemu"
