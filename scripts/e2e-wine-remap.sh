#!/usr/bin/env bash
# A global mapping rule end to end under Wine. The X server's keyboard is
# the hardware Wine sees, so a key sent with XTest reaches the engine's
# low-level hook as real input. With map.json mapping F5 to a: pressing F5
# gives the probe window a (down, up) and no F5; the unmapped F7 passes
# through untouched; --quit stops the host with exit code 0.
# Usage: e2e-wine-remap.sh ENGINE_EXE PROBE_EXE
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
command -v xdotool >/dev/null || fail "xdotool is missing (scripts/deps.sh test installs it)"
client() { wine "$prog/velmor-engine.exe" "$@" </dev/null >>"$tmp/client.out" 2>&1; }

prog=$tmp/program
mkdir -p "$prog"
cp "$engine" "$prog/velmor-engine.exe"
cat >"$prog/map.json" <<'JSON'
{
    "rules": [
        {"src": "f5", "to": "a"}
    ]
}
JSON

wine "$prog/velmor-engine.exe" </dev/null >"$tmp/engine.out" 2>"$tmp/engine.err" &
engine_pid=$!
wait_for_line "$tmp/engine.out" "^velmor-engine: running in " 300 || fail "the host did not get ready"

wine "$probe" "$(winpath "$tmp/keys.txt")" 4 20000 </dev/null >"$tmp/probe.out" 2>&1 &
probe_pid=$!
wait_for_line "$tmp/keys.txt" "^ready$" 300 || fail "the probe did not take the foreground"

# Without a window manager the X focus follows the pointer: put it on the
# probe's window (200,200 to 520,440).
xdotool mousemove 350 300
sleep 0.3
xdotool key --delay 100 F5
sleep 0.5
xdotool key --delay 100 F7

wait_for_exit "$probe_pid" 300 || fail "the probe did not see four key messages"
probe_rc=0
wait "$probe_pid" || probe_rc=$?
probe_pid=
[ "$probe_rc" = 0 ] || fail "the probe ended with $probe_rc"
expected='ready
down vk=41 sc=1E ext=0
up vk=41 sc=1E ext=0
down vk=76 sc=41 ext=0
up vk=76 sc=41 ext=0'
[ "$(tr -d '\r' <"$tmp/keys.txt")" = "$expected" ] || fail "the probe saw other keys than a, F7"

client --quit || fail "--quit found no engine"
wait_for_exit "$engine_pid" 300 || fail "the host did not stop after --quit"
engine_rc=0
wait "$engine_pid" || engine_rc=$?
engine_pid=
[ "$engine_rc" = 0 ] || fail "the host exited with $engine_rc"
echo "remap e2e: F5 reached the window as a, F7 passed untouched; the host stopped cleanly"
