#!/usr/bin/env bash
# The Win32 audio tests under Wine with a sound server behind Wine's Pulse
# driver: a private PulseAudio daemon in a temporary folder (a silent null
# source as the default microphone, a null sink as the speaker with a tone
# playing into it) that the Wine process reaches through PULSE_SERVER.
# Wine lists the speaker's monitor as a second capture device. The tests
# must find the devices in the lists, hear the tone only when they open the
# monitor by its exact name, and silence otherwise.
# Usage: test-wine-audio.sh PLATFORM_TESTS_EXE
# Runs in the Wine environment of scripts/wine-env.sh (ctest under
# scripts/test.sh); without WINEPREFIX set it brings one up for the build
# folder that holds the executable. Exit code 77: no pulseaudio to run.
set -eu
exe=$1
here=$(cd "$(dirname "$0")" && pwd)

pulse=$(command -v pulseaudio || true)
[ -n "$pulse" ] || { echo "pulseaudio is not installed (scripts/deps.sh test installs it)"; exit 77; }

tmp=$(mktemp -d)
server_pid=
own_wine=
cleanup() {
  # Only what this script started, by id.
  [ -n "$server_pid" ] && { kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null; } || true
  [ -n "$own_wine" ] && velmor_wine_down
  rm -rf "$tmp"
}
trap cleanup EXIT

# The socket comes last: once it is there, so is every device.
cat > "$tmp/server.pa" <<EOF
load-module module-null-sink sink_name=velmor_speaker sink_properties='device.description="Velmor Speaker"'
load-module module-null-source source_name=velmor_mic description='Velmor Mic'
load-module module-sine sink=velmor_speaker frequency=440
set-default-source velmor_mic
load-module module-native-protocol-unix auth-anonymous=1 socket=$tmp/native
EOF
# Its own home and runtime folders, no session bus and no display.
env -u DISPLAY -u PULSE_SERVER HOME="$tmp" XDG_RUNTIME_DIR="$tmp" XDG_CONFIG_HOME="$tmp/config" \
  PULSE_RUNTIME_PATH="$tmp/runtime" PULSE_STATE_PATH="$tmp/state" \
  DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/no-bus" \
  "$pulse" -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
  --realtime=no --high-priority=no --log-target=stderr -F "$tmp/server.pa" \
  </dev/null >"$tmp/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  [ -S "$tmp/native" ] && break
  kill -0 "$server_pid" 2>/dev/null || break
  sleep 0.05
done
[ -S "$tmp/native" ] || { echo "the private PulseAudio server did not start:"; cat "$tmp/server.log"; exit 1; }

if [ -z "${WINEPREFIX:-}" ]; then
  build=$(cd "$(dirname "$exe")/.." && pwd)
  . "$here/wine-env.sh"
  velmor_wine_up "$build"
  own_wine=1
fi

# Wine's stdio never goes to a pipe here: ctest's pipes would keep Wine's
# helpers waiting. Wine's driver names the null source by its description.
status=0
PULSE_SERVER="unix:$tmp/native" VELMOR_EXPECT_AUDIO_INPUTS="Velmor Mic" \
  VELMOR_EXPECT_AUDIO_OUTPUTS="Velmor Speaker" VELMOR_AUDIO_TONE_INPUT="Monitor of Velmor Speaker" \
  wine "$exe" --gtest_filter='Win32Audio.*' </dev/null >"$tmp/tests.out" 2>&1 || status=$?
cat "$tmp/tests.out"
exit $status
