#!/usr/bin/env bash
# Builds everything and runs every test: the native build (unit tests, the
# X11 backend against Xvfb, the checker end to end, layer and format checks),
# the win64 cross-build's tests under Wine, the clang build's tests under
# ASan+UBSan with each fuzz target for a short bounded time, and the engine's
# threaded parts under ThreadSanitizer. One ctest run over all four builds
# prints the summary at the end.
set -eu
cd "$(dirname "$0")/.."
root=$PWD

scripts/deps.sh test
# The prebuilt recogniser libraries the backends' tests load.
vosk=$root/build/_deps/vosk
scripts/fetch-vosk.sh "$vosk"

jobs=$(nproc)
for preset in linux win64 sanitize tsan; do
  echo "== build $preset"
  cmake --preset "$preset" -DVELMOR_VOSK_DIR="$vosk" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

# One test tree over the three builds, so a single ctest reports them all.
all=$root/build/all
mkdir -p "$all"
cat > "$all/CTestTestfile.cmake" <<CTEST
subdirs("$root/build/linux" "$root/build/win64" "$root/build/sanitize" "$root/build/tsan")
CTEST

. scripts/wine-env.sh
trap velmor_wine_down EXIT
velmor_wine_up "$root/build/win64"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
# Fontconfig and Qt keep caches for the life of the process; only those.
export LSAN_OPTIONS=suppressions=$root/tests/support/lsan_qt.supp
ctest --test-dir "$all" --output-on-failure -j "$jobs"
