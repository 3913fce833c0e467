#!/usr/bin/env bash
# Usage: fuzz/run.sh [SECONDS] [TARGET...]
# Builds the fuzz targets when needed (preset `fuzz`, clang) and runs each named target (all
# by default) for SECONDS (30 by default), one after the other, single-process, on a fresh
# copy of its seed corpus. A crash, leak, time-out or broken property fails the target; its
# input lands in build/fuzz/findings/TARGET/. Exit status: 0 when every target passed.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
all=(d64 t64 prg p00 zip zipmethods lynx zipcode gzip lha config sid cmdline wildcard text variant)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

build=build/fuzz
if [ ! -f "$build/build.ninja" ]; then
  cmake --preset fuzz -Wno-dev >/dev/null || exit 1
fi
cmake --build "$build" -j2 --target hv_fuzzers >/dev/null || {
  echo "fuzz build failed"
  exit 1
}

passed=0
failed=0
for t in "${targets[@]}"; do
  bin=$build/bin/fuzz_$t
  if [ ! -x "$bin" ]; then
    echo "FAIL $t: no such target (known: ${all[*]})"
    failed=$((failed + 1))
    continue
  fi
  corpus=$build/corpus/$t
  findings=$build/findings/$t
  rm -rf "$corpus"
  mkdir -p "$corpus" "$findings"
  cp -r "$build/fuzz-seeds/$t/." "$corpus/" 2>/dev/null || true
  log=$findings/log.txt
  start=$(date +%s)
  scratch=$(mktemp -d /dev/shm/hv-fuzz-run.XXXXXX 2>/dev/null || mktemp -d)
  HV_FUZZ_SCRATCH=$scratch "$bin" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1
  rc=$?
  rm -rf "$scratch"
  took=$(($(date +%s) - start))
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  if [ $rc -eq 0 ]; then
    echo "PASS $t (${took}s, ${runs:-?} runs)"
    passed=$((passed + 1))
  else
    echo "FAIL $t (exit $rc after ${took}s): log and input in $findings/"
    grep -E 'ERROR|property violated|SUMMARY|Test unit written' "$log" | head -10 | sed 's/^/    /'
    failed=$((failed + 1))
  fi
done

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
