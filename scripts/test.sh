#!/usr/bin/env bash
# Sets up the machine, builds all four targets and runs every test: native with sanitizers,
# the cross builds, and the automation servers under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh || exit 1

jobs=$(nproc)
status=0
step() {
  echo "==> $*"
  "$@" || { echo "FAILED: $*"; status=1; }
}

for preset in linux linux-release windows-x64 windows-x86; do
  step cmake --preset "$preset" -Wno-dev >/dev/null
  step cmake --build --preset "$preset" -j "$jobs"
done

step ctest --preset linux -j "$jobs"
if [ -x tests/wine/run.sh ]; then
  step tests/wine/run.sh build/windows-x64
fi
if [ -x scripts/sample.sh ]; then
  step scripts/sample.sh --no-bootstrap
fi

# Every fuzz target briefly, one after another (11 targets: under four minutes).
if [ -x fuzz/run.sh ]; then
  step fuzz/run.sh 20
fi

[ $status -eq 0 ] && echo "ALL TESTS PASSED" || echo "SOME TESTS FAILED"
exit $status
