# Sourced by the test script: a private Xvfb display and a Wine prefix of
# the build's own, primed so tests run through ctest's pipes without waiting
# for Wine's helpers. Call velmor_wine_up, then velmor_wine_down at exit.

velmor_wine_up() {
  local build=$1
  export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$fd_file" >/dev/null 2>&1 &
  VELMOR_XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  [ -s "$fd_file" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
  fi
  # A persistent wineserver started with stdio away from any pipe.
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

velmor_wine_down() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "${VELMOR_XVFB_PID:-}" ]; then
    kill "$VELMOR_XVFB_PID" 2>/dev/null || true
    wait "$VELMOR_XVFB_PID" 2>/dev/null || true
  fi
}
