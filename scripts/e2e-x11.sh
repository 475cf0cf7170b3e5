#!/usr/bin/env bash
# End to end on X11: a copy of the headless engine host in a folder of its
# own types a wheel field into a probe window.
#
#   scripts/e2e-x11.sh VELMOR_ENGINE VELMOR_KEY_PROBE
#
# Needs DISPLAY (a private Xvfb); exits 77 (skipped) without one.
set -u
engine_src=$1
probe=$2

if [ -z "${DISPLAY:-}" ]; then
  echo "e2e-x11: no DISPLAY, skipped"
  exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/velmor-e2e.XXXXXX")
engine_pid=
probe_pid=
cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  [ -n "$engine_pid" ] && kill "$engine_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "e2e-x11: FAIL: $*"
  for f in engine.out engine.err probe.out keys.txt; do
    [ -f "$work/$f" ] && { echo "--- $f"; cat "$work/$f"; }
  done
  exit 1
}

# Waits up to $2 seconds for file $1 to hold a line equal to $3.
wait_for_line() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    grep -qxF -- "$3" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Its own folder: the engine writes its settings there and is found by it.
cp "$engine_src" "$work/velmor-engine"
engine="$work/velmor-engine"

"$engine" >"$work/engine.out" 2>"$work/engine.err" &
engine_pid=$!
wait_for_line "$work/engine.out" 20 "velmor-engine: running in $work" || fail "engine not ready"

"$probe" "$work/keys.txt" 4 20000 >"$work/probe.out" &
probe_pid=$!
wait_for_line "$work/probe.out" 20 "ready" || fail "probe not ready"

cat >"$work/wheel.json" <<'JSON'
{
  "wheels": [
    {
      "name": "E2E",
      "actions": [
        { "name": "a then up", "steps": [ { "key": "a" }, { "key": "up" } ] }
      ]
    }
  ]
}
JSON

"$engine" --activate "$work/wheel.json" || fail "--activate: status $?"
"$engine" --run-field 0 0 || fail "--run-field: status $?"

wait "$probe_pid"
probe_status=$?
probe_pid=
[ "$probe_status" -eq 0 ] || fail "probe saw fewer than 4 key events (status $probe_status)"

expected=$'down keysym=a\nup keysym=a\ndown keysym=Up\nup keysym=Up'
[ "$(cat "$work/keys.txt")" = "$expected" ] || fail "unexpected key events"

"$engine" --quit || fail "--quit: status $?"
wait "$engine_pid"
engine_status=$?
engine_pid=
[ "$engine_status" -eq 0 ] || fail "engine exit status $engine_status"

echo "e2e-x11: ok"
