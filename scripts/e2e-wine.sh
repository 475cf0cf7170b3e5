#!/usr/bin/env bash
# The headless engine host end to end under Wine. In a fresh program folder:
# the host starts and says it is ready, a wheel file is activated from a
# second velmor-engine, running its field 0 makes the keys a and Up reach a
# probe window that holds the foreground (right virtual key, scan code and
# extended flag, down before up, in step order), and --quit stops the host
# with exit code 0.
# Usage: e2e-wine.sh ENGINE_EXE PROBE_EXE
# Runs in the Wine environment of scripts/wine-env.sh (ctest under
# scripts/test.sh); without WINEPREFIX set it brings one up for the build
# folder that holds ENGINE_EXE.
set -eu
engine=$1
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"

tmp=$(mktemp -d)
e2e_logs="engine.out engine.err client.out probe.out keys.txt"
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

wine "$prog/velmor-engine.exe" </dev/null >"$tmp/engine.out" 2>"$tmp/engine.err" &
engine_pid=$!
wait_for_line "$tmp/engine.out" "^velmor-engine: running in " 300 || fail "the host did not get ready"
grep -q "program" "$tmp/engine.out" || fail "the host does not run in its own folder"
[ -f "$prog/config.json" ] || fail "no config.json in the program folder"

# Four key lines: down and up of a, then of Up.
wine "$probe" "$(winpath "$tmp/keys.txt")" 4 20000 </dev/null >"$tmp/probe.out" 2>&1 &
probe_pid=$!
wait_for_line "$tmp/keys.txt" "^ready$" 300 || fail "the probe did not take the foreground"

cat >"$tmp/e2e.json" <<'JSON'
{
  "wheels": [
    { "name": "E2E", "actions": [ { "name": "a then up", "steps": [ { "key": "a" }, { "key": "up" } ] } ] }
  ]
}
JSON
client --activate "$(winpath "$tmp/e2e.json")" || fail "--activate found no engine"
client --run-field 0 0 || fail "--run-field found no engine"

wait_for_exit "$probe_pid" 300 || fail "the probe did not see four key messages"
probe_rc=0
wait "$probe_pid" || probe_rc=$?
probe_pid=
[ "$probe_rc" = 0 ] || fail "the probe ended with $probe_rc"
expected='ready
down vk=41 sc=1E ext=0
up vk=41 sc=1E ext=0
down vk=26 sc=48 ext=1
up vk=26 sc=48 ext=1'
[ "$(tr -d '\r' <"$tmp/keys.txt")" = "$expected" ] || fail "the probe saw other keys than a, Up"

client --quit || fail "--quit found no engine"
wait_for_exit "$engine_pid" 300 || fail "the host did not stop after --quit"
engine_rc=0
wait "$engine_pid" || engine_rc=$?
engine_pid=
[ "$engine_rc" = 0 ] || fail "the host exited with $engine_rc"
echo "engine e2e: keys a, Up reached the foreground window; the host stopped cleanly"
