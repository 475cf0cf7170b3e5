#!/usr/bin/env bash
# The wheel overlay end to end under Wine: the toggle key shows the wheel
# window (layered, topmost, a no-activate tool window that leaves the
# foreground alone), raw motion moves the virtual cursor onto a field,
# WM_OVL_WHEELCLICK runs it into the probe window that holds the
# foreground, and the cursor clip is gone once the wheel has closed.
# Usage: e2e-wine-wheel.sh ENGINE_EXE PROBE_EXE DRIVER_EXE
# Runs in the Wine environment of scripts/wine-env.sh (ctest under
# scripts/test.sh); without WINEPREFIX set it brings one up for the build
# folder that holds ENGINE_EXE.
set -eu
engine=$1
probe=$2
driver=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"

tmp=$(mktemp -d)
e2e_logs="engine.out engine.err client.out driver.out probe.out keys.txt"
engine_pid=
probe_pid=
own_wine=
cleanup() {
  # Only what this script started, by id; a passing run has left nothing.
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null || true
  [ -n "$engine_pid" ] && kill "$engine_pid" 2>/dev/null || true
  [ -n "$own_wine" ] && velmor_wine_down
  rm -rf "$tmp"
}
trap cleanup EXIT

if [ -z "${WINEPREFIX:-}" ]; then
  build=$(cd "$(dirname "$engine")/../.." && pwd)
  . "$here/wine-env.sh"
  velmor_wine_up "$build"
  own_wine=1
fi

# A second velmor-engine talking to the running one. Wine's stdio never goes
# to a pipe here: ctest's pipes would keep Wine's helpers waiting.
client() { wine "$prog/velmor-engine.exe" "$@" </dev/null >>"$tmp/client.out" 2>&1; }

prog=$tmp/program
mkdir -p "$prog"
cp "$engine" "$prog/velmor-engine.exe"
drive() { wine "$driver" "$@" </dev/null >>"$tmp/driver.out" 2>&1; }
cat >"$prog/config.json" <<'JSON'
{ "toggleKey": "x", "takeFocus": false, "sendDelay": 300 }
JSON
# Four fields: up a, right b, down c, left d.
cat >"$prog/default.json" <<'JSON'
{ "wheels": [ { "name": "E2E", "actions": [
  { "name": "Alpha", "steps": [ { "key": "a" } ] },
  { "name": "Bravo", "steps": [ { "key": "b" } ] },
  { "name": "Charlie", "steps": [ { "key": "c" } ] },
  { "name": "Delta", "steps": [ { "key": "d" } ] } ] } ] }
JSON
wine "$prog/velmor-engine.exe" </dev/null >"$tmp/engine.out" 2>"$tmp/engine.err" &
engine_pid=$!
wait_for_line "$tmp/engine.out" "^velmor-engine: running in " 300 || fail "the host did not get ready"
wine "$probe" "$(winpath "$tmp/keys.txt")" 3 30000 </dev/null >"$tmp/probe.out" 2>&1 &
probe_pid=$!
wait_for_line "$tmp/keys.txt" "^ready$" 300 || fail "the probe did not take the foreground"

drive wait hidden 1000 || fail "the wheel is shown before the toggle key"
drive key 0x58 || fail "toggle key"
drive wait shown 10000 || fail "no proper wheel window after the toggle key (driver status $?)"
drive clip-free && echo "note: Wine did not clip the cursor while the wheel is shown"
# 100 counts to the right: field 1, key b.
drive move 100 0 || fail "motion"
sleep 0.5
drive click || fail "no wheel window to click"
drive wait hidden 10000 || fail "the wheel stayed after the click"
wait_for_exit "$probe_pid" 300 || fail "the probe did not see three key messages"
probe_rc=0
wait "$probe_pid" || probe_rc=$?
probe_pid=
[ "$probe_rc" = 0 ] || fail "the probe ended with $probe_rc"
# A hotkey takes its key's press; the release goes on to the focused
# window, as on Windows.
expected='ready
up vk=58 sc=2D ext=0
down vk=42 sc=30 ext=0
up vk=42 sc=30 ext=0'
[ "$(tr -d '\r' <"$tmp/keys.txt")" = "$expected" ] || fail "the probe saw other keys than b"
drive clip-free || fail "the cursor is still clipped after the wheel closed"
client --quit || fail "--quit found no engine"
wait_for_exit "$engine_pid" 300 || fail "the host did not stop after --quit"
engine_rc=0
wait "$engine_pid" || engine_rc=$?
engine_pid=
[ "$engine_rc" = 0 ] || fail "the host exited with $engine_rc"
echo "wheel e2e: toggle key, window, motion and click ran field b; the clip is gone"
