#!/usr/bin/env bash
# Builds the release tool and lists the bundled sample disk with it, as a person and as a
# script would read it. --no-bootstrap skips installing packages.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--no-bootstrap" ]; then
  scripts/bootstrap.sh
fi

jobs=$(nproc)
cmake --preset linux-release -Wno-dev >/dev/null
cmake --build --preset linux-release -j "$jobs"

hv=build/linux-release/bin/hv
sample=build/linux-release/samples/sample.d64
echo "==> hv list $sample"
"$hv" list "$sample"
echo "==> hv list --json $sample"
"$hv" list --json "$sample"

# The main job: the zipped sample disk, extracted and started in an emulator (a dry run: the
# emulator here is an empty stand-in file, so the command line is printed instead).
zipped=build/linux-release/samples/sample.zip
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
: > "$tmp/x64"
echo "==> hv play --dry-run $zipped"
"$hv" play "$zipped" --emulator vice --emulator-path "$tmp/x64" --work "$tmp/work" --dry-run
