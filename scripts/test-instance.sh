#!/usr/bin/env bash
# The single-instance guard with real processes: a second start finds the
# first, asks it to show its window and ends with 0; a restarted program
# waits for its predecessor to end and then runs, and gives up after its
# bounded wait when the predecessor stays.
# Usage: test-instance.sh PROBE [wine]
set -eu
probe=$1
wine=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"
e2e_scratch velmor-instance
e2e_logs="a.log b.log c.log"
# Linux: a runtime folder of this test's own, so a Velmor the user runs
# is neither seen nor disturbed.
export XDG_RUNTIME_DIR=$tmp/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
run() { if [ -n "$wine" ]; then wine "$probe" "$@"; else "$probe" "$@"; fi; }

start_holder() {
  : >"$tmp/a.log"
  run hold </dev/null >"$tmp/a.log" 2>&1 &
  holder=$!
  pids+=("$holder")
  wait_for_line "$tmp/a.log" '^first' 300 || fail "the first start did not claim the instance"
}

# A second start while the first runs.
start_holder
run second </dev/null >"$tmp/c.log" 2>&1 || fail "the second start did not end with 0"
grep -q '^already running' "$tmp/c.log" || fail "the second start claimed the instance too"
wait_for_exit "$holder" 300 || fail "the first start got no show request"
wait "$holder" || fail "the first start ended with an error"
grep -q '^show request' "$tmp/a.log" || fail "the first start did not see the show request"

# A restart waits for its predecessor.
start_holder
run restart 30000 </dev/null >"$tmp/b.log" 2>&1 &
restarted=$!
pids+=("$restarted")
run restart 200 </dev/null >"$tmp/c.log" 2>&1 && fail "a restart's bounded wait did not end"
grep -q '^already running' "$tmp/c.log" || fail "a short restart wait claimed a held instance"
grep -q '^first' "$tmp/b.log" && fail "the restart ran beside its predecessor"
run second </dev/null >/dev/null 2>&1 || fail "the second start did not end with 0"
wait_for_exit "$holder" 300 || fail "the predecessor did not end"
wait_for_exit "$restarted" 300 || fail "the restart did not follow its predecessor"
wait "$restarted" || fail "the restart ended with an error"
grep -q '^first' "$tmp/b.log" || fail "the restart did not claim the instance"
echo "single instance: ok"
