#!/usr/bin/env bash
# Voice control end to end with the headless engine host, natively or
# under Wine (an ENGINE ending in .exe):
# 1. the real recogniser library (from the npm package) with no model
#    folder: the host reports "language model folder missing";
# 2. the scripted fake recogniser library with a model folder and a private
#    PulseAudio server as the microphone: the host reports "active", the
#    fake hears "show wheel" in the third block of audio, and the result is
#    written to voice_confidence.log as accepted at 93 %.
# Usage: e2e-voice.sh ENGINE FAKE_LIBRARY [REAL_LIBRARY]
# Without REAL_LIBRARY the first case is skipped; without pulseaudio the
# second is (exit 77 when both are).
set -u
engine_src=$1
fake_lib=$2
real_lib=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/velmor-voice.XXXXXX")
e2e_logs="engine.out engine.err client.out program/voice_confidence.log"
engine_pid=
pulse_pid=
own_wine=
wine=
case "$engine_src" in *.exe) wine=1 ;; esac
cleanup() {
  [ -n "$engine_pid" ] && kill "$engine_pid" 2>/dev/null
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null
  wait 2>/dev/null
  [ -n "$own_wine" ] && velmor_wine_down
  rm -rf "$tmp"
}
trap cleanup EXIT

if [ -n "$wine" ] && [ -z "${WINEPREFIX:-}" ]; then
  build=$(cd "$(dirname "$engine_src")/../.." && pwd)
  . "$here/wine-env.sh"
  velmor_wine_up "$build"
  own_wine=1
fi
if [ -z "$wine" ] && [ -z "${DISPLAY:-}" ]; then
  echo "e2e-voice: no DISPLAY, skipped"
  exit 77
fi

prog=$tmp/program
mkdir -p "$prog"
exe=$prog/velmor-engine${wine:+.exe}
cp "$engine_src" "$exe"
# Paths as the engine sees them; JSON strings, so backslashes doubled.
jpath() {
  if [ -n "$wine" ]; then winpath "$1" | sed 's/\\/\\\\/g'; else printf '%s' "$1"; fi
}
run() {
  if [ -n "$wine" ]; then wine "$exe" "$@"; else "$exe" "$@"; fi
}
start_host() {
  : >"$tmp/engine.out"
  run </dev/null >"$tmp/engine.out" 2>"$tmp/engine.err" &
  engine_pid=$!
  wait_for_line "$tmp/engine.out" "^velmor-engine: running in " 300 || fail "the host did not get ready"
}
stop_host() {
  run --quit </dev/null >>"$tmp/client.out" 2>&1 || fail "--quit found no engine"
  wait_for_exit "$engine_pid" 300 || fail "the host did not stop after --quit"
  local rc=0
  wait "$engine_pid" || rc=$?
  engine_pid=
  [ "$rc" = 0 ] || fail "the host exited with $rc"
}
ran=

if [ -n "$real_lib" ]; then
  printf '{"language": "en", "voiceDllPath": "%s"}\n' "$(jpath "$real_lib")" >"$prog/config.json"
  start_host
  wait_for_line "$tmp/engine.out" "voice: language model folder missing" 300 ||
    fail "the real library without a model did not report the missing model folder"
  stop_host
  echo "e2e-voice: real library, no model: language model folder missing"
  ran=1
fi

if start_private_pulse; then
  mkdir -p "$prog/fakemodel"
  cat >"$prog/fakemodel/fake_vosk.txt" <<'TXT'
result 3 {"result":[{"conf":0.97,"word":"show"},{"conf":0.93,"word":"wheel"}],"text":"show wheel"}
TXT
  printf '{"language": "en", "voiceDllPath": "%s", "voiceModel": "fakemodel", "voiceConfShow": true}\n' \
    "$(jpath "$fake_lib")" >"$prog/config.json"
  start_host
  wait_for_line "$tmp/engine.out" "voice: active" 300 || fail "voice did not become active"
  wait_for_line "$prog/voice_confidence.log" "  93%  OK     show wheel" 300 ||
    fail "the recognised phrase was not logged as accepted"
  grep -q "^accept 3200$" "$prog/fakemodel/fake_vosk.log" || fail "the recogniser got no 100 ms blocks"
  stop_host
  echo "e2e-voice: fake recogniser on a PulseAudio microphone: show wheel accepted at 93 %"
  ran=1
fi
[ -n "$ran" ] || { echo "e2e-voice: nothing to run, skipped"; exit 77; }
echo "e2e-voice: ok"
