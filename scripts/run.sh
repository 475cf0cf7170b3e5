#!/usr/bin/env bash
# Builds Velmor natively and runs it from a program directory of its own
# (build/run/program): the Qt window with its tabs, the tray icon and the
# engine in the same process. The configuration checker first creates the
# first-run files and prints what they load to (arguments go to it: wheel
# files to check too, --json).
#
# With no display (DISPLAY unset) the program runs on a private Xvfb with a
# tray host; a screenshot of its window is saved to build/run/screenshots
# and the path printed. Ctrl+C ends it either way.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh run
# A build of its own: what runs needs no test tools.
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMOR_TESTS=OFF >/dev/null
cmake --build build/run --target velmor velmor-check velmor-engine -j "$(nproc)"
prog=$PWD/build/run/program
cp build/run/tools/velmor-check/velmor-check build/run/tools/velmor-engine/velmor-engine "$prog/"
# The speech recogniser library goes beside the program, which loads it
# from its own folder; voice then waits for a language model folder there.
if command -v npm >/dev/null && scripts/fetch-vosk.sh build/_deps/vosk; then
  cp build/_deps/vosk/linux-x86_64/libvosk.so "$prog/"
else
  echo "no npm: voice control runs without its recogniser library"
fi
set +e
"$prog/velmor-check" "$@"
set -e
echo
echo "first-run files in $prog:"
for f in config.json default.json voice.json; do
  echo "--- $f"
  cat "$prog/$f"
done
echo

if [ -n "${DISPLAY:-}" ]; then
  echo "starting Velmor on $DISPLAY (Ctrl+C ends it; closing the window hides it to the tray)"
  exec "$prog/velmor"
fi

scripts/deps.sh headless
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 0' INT TERM
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$fd_file" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
[ -s "$fd_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
rm -f "$fd_file"
trayer --edge top --align right --widthtype request --height 22 --SetDockType false >/dev/null 2>&1 &
pids+=($!)
sleep 1
echo "no display: starting Velmor on a private Xvfb ($DISPLAY)"
"$prog/velmor" &
velmor=$!
pids+=("$velmor")
shots=$PWD/build/run/screenshots
mkdir -p "$shots"
win=
for _ in $(seq 1 300); do
  # The tray icon's window has the same title: the main window is the big one.
  for w in $(xdotool search --onlyvisible --pid "$velmor" --name '^Velmor$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -ge 200 ] && win=$w
  done
  [ -n "$win" ] && break
  sleep 0.1
done
if [ -n "$win" ]; then
  sleep 1
  import -window root "$shots/velmor.png"
  echo "screenshot of the running program: $shots/velmor.png"
else
  echo "the window did not appear" >&2
fi
echo "Velmor runs (Ctrl+C ends it)"
wait "$velmor"
