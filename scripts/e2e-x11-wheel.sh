#!/usr/bin/env bash
# End to end on X11: the toggle key shows the wheel window, relative motion
# moves the virtual cursor onto a field, a click runs it into a probe
# window, and the pointer is free again afterwards.
#
#   scripts/e2e-x11-wheel.sh VELMOR_ENGINE VELMOR_KEY_PROBE VELMOR_WHEEL_DRIVER SCREENSHOT_DIR
#
# Needs DISPLAY (a private Xvfb); exits 77 (skipped) without one.
set -u
engine_src=$1
probe=$2
driver=$3
shots=$4

if [ -z "${DISPLAY:-}" ]; then
  echo "e2e-x11-wheel: no DISPLAY, skipped"
  exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/velmor-wheel-e2e.XXXXXX")
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
  echo "e2e-x11-wheel: FAIL: $*"
  for f in engine.out engine.err probe.out keys.txt; do
    [ -f "$work/$f" ] && { echo "--- $f"; cat "$work/$f"; }
  done
  exit 1
}

wait_for_line() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    grep -qxF -- "$3" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

cp "$engine_src" "$work/velmor-engine"
engine="$work/velmor-engine"
# The toggle key "x"; the probe keeps the focus (no window manager here to
# hand it back through).
cat >"$work/config.json" <<'JSON'
{ "toggleKey": "x", "takeFocus": false, "sendDelay": 300, "segmentColor": "#2AA39B" }
JSON
# Four fields: up a, right b, down c, left d.
cat >"$work/default.json" <<'JSON'
{ "wheels": [ { "name": "E2E", "actions": [
  { "name": "Alpha", "color": "#E74C3C", "steps": [ { "key": "a" } ] },
  { "name": "Bravo", "steps": [ { "key": "b" } ] },
  { "name": "Charlie", "steps": [ { "key": "c" } ] },
  { "name": "Delta", "steps": [ { "key": "d" } ] } ] } ] }
JSON

"$engine" >"$work/engine.out" 2>"$work/engine.err" &
engine_pid=$!
wait_for_line "$work/engine.out" 20 "velmor-engine: running in $work" || fail "engine not ready"

"$probe" "$work/keys.txt" 2 20000 >"$work/probe.out" &
probe_pid=$!
wait_for_line "$work/probe.out" 20 "ready" || fail "probe not ready"

"$driver" wait hidden 1000 || fail "the wheel is shown before the toggle key"
"$driver" key x || fail "toggle key"
mkdir -p "$shots"
"$driver" wait shown 5000 "$shots/wheel-x11.png" || fail "no wheel window after the toggle key"
"$driver" pointer-free && fail "the pointer is not held while the wheel is shown"

# 100 counts to the right: field 1 ("Bravo", key b). Then a left click.
"$driver" move 100 0 || fail "motion"
sleep 0.3
"$driver" wait shown 100 "$shots/wheel-x11-hover.png" || fail "the wheel closed on motion"
"$driver" click 1 || fail "click"

"$driver" wait hidden 5000 || fail "the wheel stayed after the click"
wait "$probe_pid"
probe_status=$?
probe_pid=
[ "$probe_status" -eq 0 ] || fail "probe saw fewer than 2 key events (status $probe_status)"
expected=$'down keysym=b\nup keysym=b'
[ "$(cat "$work/keys.txt")" = "$expected" ] || fail "unexpected key events (the toggle key leaked or the wrong field ran)"
"$driver" pointer-free || fail "the pointer is still grabbed after the wheel closed"

"$engine" --quit || fail "--quit: status $?"
wait "$engine_pid"
engine_status=$?
engine_pid=
[ "$engine_status" -eq 0 ] || fail "engine exit status $engine_status"
echo "e2e-x11-wheel: ok (screenshots in $shots)"
