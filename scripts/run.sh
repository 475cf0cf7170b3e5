#!/usr/bin/env bash
# Builds Velmor natively and runs it in a program directory of its own
# (build/run/program). Until the GUI exists this is the headless engine
# host: the checker first shows the first-run files and what they load to,
# then velmor-engine runs on the X display until Ctrl+C. Arguments go to the
# checker (wheel files to check as well, --json).
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh run
# A build of its own: what runs needs no test tools.
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMOR_TESTS=OFF >/dev/null
cmake --build build/run --target velmor-check velmor-engine -j "$(nproc)"
prog=build/run/program
mkdir -p "$prog"
cp build/run/tools/velmor-check/velmor-check build/run/tools/velmor-engine/velmor-engine "$prog/"
# The speech recogniser library goes beside the engine, which loads it from
# its own folder; voice then waits for a language model folder there (the
# host prints the voice state as it changes).
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
echo "starting the engine (Ctrl+C stops it; from another terminal:"
echo "  $prog/velmor-engine --activate FILE | --run-field WHEEL FIELD | --quit)"
exec "$prog/velmor-engine"
