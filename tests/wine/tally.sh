# The count run.sh and setup.sh keep, sourced by both: their own checks, skips that say why,
# and the closing line "CHECKS <passed> <failed> <skipped>" of every client they run. summary
# prints the last line, "N passed, N failed, N skipped", and fails when anything failed.

passed=0
failed=0
skipped=0

record() {  # record <ok?> <what>
  if [ "$1" = 0 ]; then passed=$((passed + 1)); echo "ok   $2"; else failed=$((failed + 1)); echo "FAIL $2"; fi
}

skip() {  # skip "<what>: <why>"
  skipped=$((skipped + 1))
  echo "skip $1"
}

winpath() { local p="${1//\//\\}"; echo "Z:$p"; }

# Keeps one Wine server alive for WINEPREFIX until `wineserver -k`: each client would otherwise
# start its own, which under qemu-i386 (tests/wine/i386.sh) costs seconds every time. The
# prefix's services are started here too, with nothing of ours open: started by a client whose
# output goes into a pipe, they would hold that pipe open as long as the server lives.
keep_server() {
  /usr/lib/wine/wineserver -p >/dev/null 2>&1
  [ -z "${wine:-}" ] || "$wine" wineboot </dev/null >/dev/null 2>&1
}

# Runs one client and adds its closing line to the count. A client fails when it stops without
# that line, exits with an error while reporting none, made no check at all, or skipped more
# (or fewer) parts than it gave a reason for ("skip <what>: <why>").
run_client() {  # run_client <label> <command...>
  local label=$1 out rc line reasons
  shift
  out=$("$@" 2>&1 | tr -d '\r'; exit "${PIPESTATUS[0]}")
  rc=$?
  echo "$out" | grep -v '^CHECKS ' | sed "s/^/  [$label] /"
  line=$(echo "$out" | grep '^CHECKS ' | tail -1)
  if [ -z "$line" ]; then
    record 1 "$label: stopped before reporting (exit $rc)"
    return
  fi
  if ! [[ "$line" =~ ^CHECKS\ [0-9]+\ [0-9]+\ [0-9]+$ ]]; then
    record 1 "$label: closing line '$line' is not 'CHECKS <passed> <failed> <skipped>'"
    return
  fi
  set -- $line
  passed=$((passed + $2))
  failed=$((failed + $3))
  skipped=$((skipped + $4))
  if [ "$rc" -ne 0 ] && [ "$3" -eq 0 ]; then record 1 "$label: exit $rc"; fi
  if [ $(($2 + $3 + $4)) -eq 0 ]; then record 1 "$label: made no check"; fi
  reasons=$(echo "$out" | grep -c '^skip .*: .')
  if [ "$reasons" -ne "$4" ]; then record 1 "$label: $4 skipped, $reasons with a reason"; fi
  echo "     $label: $2 passed, $3 failed, $4 skipped"
}

summary() {
  echo "$passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
}
