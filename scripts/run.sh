#!/usr/bin/env bash
# Builds Velmor natively and runs it in a program directory of its own.
# Until the engine host and the GUI exist this is the config checker: it
# creates the first-run files in build/run/program and shows what they
# load to.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh run
# A build of its own: what runs needs no test tools.
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMOR_TESTS=OFF >/dev/null
cmake --build build/run --target velmor-check -j "$(nproc)"
prog=build/run/program
mkdir -p "$prog"
cp build/run/tools/velmor-check/velmor-check "$prog/"
set +e
"$prog/velmor-check" "$@"
rc=$?
set -e
echo
echo "first-run files in $prog:"
for f in config.json default.json voice.json; do
  echo "--- $f"
  cat "$prog/$f"
done
exit $rc
