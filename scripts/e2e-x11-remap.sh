#!/usr/bin/env bash
# A global mapping rule end to end on X11. With map.json mapping F5 to a,
# F5 typed by another client (xdotool, through XTest, as a real keyboard
# would) reaches the probe window as a and its press never arrives; the
# unmapped F7 passes untouched. X cannot hold back the release of a key
# whose press was swallowed, so the probe may also see F5's release.
#
#   scripts/e2e-x11-remap.sh VELMOR_ENGINE VELMOR_KEY_PROBE
#
# Needs DISPLAY (a private Xvfb); exits 77 (skipped) without one.
set -u
engine_src=$1
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "e2e-x11-remap: no DISPLAY, skipped"
  exit 77
fi
tmp=$(mktemp -d "${TMPDIR:-/tmp}/velmor-e2e.XXXXXX")
e2e_logs="engine.out engine.err probe.out keys.txt"
engine_pid=
probe_pid=
cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  [ -n "$engine_pid" ] && kill "$engine_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
command -v xdotool >/dev/null || fail "xdotool is missing (scripts/deps.sh test installs it)"

cp "$engine_src" "$tmp/velmor-engine"
cat >"$tmp/map.json" <<'JSON'
{
    "rules": [
        {"src": "f5", "to": "a"}
    ]
}
JSON
"$tmp/velmor-engine" >"$tmp/engine.out" 2>"$tmp/engine.err" &
engine_pid=$!
wait_for_line "$tmp/engine.out" "^velmor-engine: running in $tmp" 200 || fail "engine not ready"

# Five events when F5's stray release arrives, four without it.
"$probe" "$tmp/keys.txt" 5 6000 >"$tmp/probe.out" &
probe_pid=$!
wait_for_line "$tmp/probe.out" "^ready$" 200 || fail "probe not ready"

xdotool key --delay 100 F5
sleep 0.3
xdotool key --delay 100 F7
wait "$probe_pid"
probe_pid=

keys=$(cat "$tmp/keys.txt")
grep -qx "down keysym=F5" <<<"$keys" && fail "the press of F5 reached the window"
[ "$(grep -x -e 'down keysym=a' -e 'up keysym=a' <<<"$keys")" = $'down keysym=a\nup keysym=a' ] ||
  fail "the window did not get a (down, then up)"
[ "$(grep -v 'keysym=F5' <<<"$keys")" = $'down keysym=a\nup keysym=a\ndown keysym=F7\nup keysym=F7' ] ||
  fail "unexpected key events"

"$tmp/velmor-engine" --quit || fail "--quit: status $?"
wait "$engine_pid"
engine_status=$?
engine_pid=
[ "$engine_status" -eq 0 ] || fail "engine exit status $engine_status"
echo "e2e-x11-remap: ok"
