# Shared pieces of the end-to-end scripts; sourced, never run. The caller
# sets $tmp (its scratch folder) and may list its log files in $e2e_logs.

# Prints the scripts' logs and ends the run as failed.
fail() {
  echo "FAIL: $*"
  for f in ${e2e_logs:-}; do
    [ -f "$tmp/$f" ] && { echo "--- $f"; cat "$tmp/$f"; }
  done
  exit 1
}
# Waits up to $3 tenths of a second for a line matching $2 in file $1.
wait_for_line() {
  for _ in $(seq 1 "$3"); do
    [ -f "$1" ] && grep -q -- "$2" "$1" && return 0
    sleep 0.1
  done
  return 1
}
# Waits up to $2 tenths of a second for process $1 to end; false if it lives on.
wait_for_exit() {
  for _ in $(seq 1 "$2"); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
# Wine sees the Unix root as drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Starts a private PulseAudio server in $tmp/pulse with a silent null source
# as the default microphone; sets pulse_pid and exports PULSE_SERVER for
# what the caller starts next. The caller kills $pulse_pid. False when
# pulseaudio is not installed.
start_private_pulse() {
  local pulse
  pulse=$(command -v pulseaudio) || return 1
  local d=$tmp/pulse
  mkdir -p "$d"
  # The socket comes last: once it is there, so is every device.
  cat >"$d/server.pa" <<PA
load-module module-null-sink sink_name=velmor_speaker sink_properties='device.description="Velmor Speaker"'
load-module module-null-source source_name=velmor_mic description='Velmor Mic'
set-default-source velmor_mic
load-module module-native-protocol-unix auth-anonymous=1 socket=$d/native
PA
  env -u DISPLAY -u PULSE_SERVER HOME="$d" XDG_RUNTIME_DIR="$d" XDG_CONFIG_HOME="$d/config" \
    PULSE_RUNTIME_PATH="$d/runtime" PULSE_STATE_PATH="$d/state" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$d/no-bus" \
    "$pulse" -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    --realtime=no --high-priority=no --log-target=stderr -F "$d/server.pa" \
    </dev/null >"$d/server.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 1 100); do
    [ -S "$d/native" ] && break
    kill -0 "$pulse_pid" 2>/dev/null || break
    sleep 0.05
  done
  [ -S "$d/native" ] || fail "the private PulseAudio server did not start: $(cat "$d/server.log")"
  export PULSE_SERVER="unix:$d/native"
}

# Sets up the velmor program $1 in $tmp/program (sets prog) with what its
# build folder holds beside it (style sheets, translations, icon), and gives
# it preferences, a home and a runtime folder of the test's own, so a
# Velmor the user runs is neither seen nor changed.
velmor_program_dir() {
  local src_dir d
  prog=$tmp/program
  mkdir -p "$prog"
  src_dir=$(dirname "$1")
  cp "$1" "$prog/velmor"
  for d in themes translations velmor.ico; do
    [ -e "$src_dir/$d" ] && cp -r "$src_dir/$d" "$prog/"
  done
  export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
  mkdir -p "$HOME" "$XDG_CONFIG_HOME/Velmor"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
}

# Makes the scratch folder $tmp (named after $1) and arranges that at exit
# every process listed in the array pids is ended and $tmp removed.
e2e_scratch() {
  tmp=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  pids=()
  trap e2e_cleanup EXIT
}
e2e_cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
