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

# Formatting is part of the code: the tree must be as clang-format leaves it.
step bash -c "git ls-files '*.cpp' '*.h' ':!third_party' | xargs clang-format --dry-run --Werror"

for preset in linux linux-release windows-x64 windows-x86; do
  step cmake --preset "$preset" -Wno-dev >/dev/null
  step cmake --build --preset "$preset" -j "$jobs"
done

step ctest --preset linux -j "$jobs"
# The Wine suite on both builds, then the setup program; each run's last line ("N passed,
# N failed, N skipped") and its time are repeated at the end, with how 32-bit programs started
# (tests/wine/i386.sh: natively, through qemu-i386, or not at all), which setup program was
# installed, and the reasons of the skips the run made itself (a whole run, a tool missing; the
# clients' own skips are in its log).
wine_summary=()
wine_run() {  # wine_run <label> <command...>
  local label=$1 start log line how
  shift
  start=$(date +%s)
  log=$(mktemp)
  step bash -o pipefail -c '"$@" | tee "$0"' "$log" "$@"
  how=$(grep -E '^(i386 programs|setup program): ' "$log" | paste -sd ';' | sed 's/;/; /g')
  wine_summary+=("Wine $label: $(tail -1 "$log") ($(($(date +%s) - start)) s${how:+; $how})")
  while IFS= read -r line; do wine_summary+=("  $line"); done < <(grep '^skip ' "$log")
  rm -f "$log"
}
step tests/wine/i386_test.sh
wine_run windows-x64 tests/wine/run.sh build/windows-x64
# The 32-bit loader: natively, or through qemu-i386 where the kernel refuses i386 programs
# (about ten minutes on two loaded cores).
wine_run windows-x86 tests/wine/i386.sh tests/wine/run.sh build/windows-x86
wine_run setup tests/wine/i386.sh tests/wine/setup.sh build/windows-x86
step scripts/sample.sh --no-bootstrap

# Every fuzz target briefly, one after another (15 targets: about five minutes).
step fuzz/run.sh 20

printf '%s\n' "${wine_summary[@]}"
[ $status -eq 0 ] && echo "ALL TESTS PASSED" || echo "SOME TESTS FAILED"
exit $status
