#!/usr/bin/env bash
# The velmor program end to end on X11 with a tray host: it starts with the
# engine, shows its window, hides to the tray on close, a second start brings
# the window back and ends with 0, and a restarted program waits for its
# predecessor and then takes over. One screenshot per theme (Gaze and
# Settings tabs) goes to SCREENSHOT_DIR.
#
#   scripts/e2e-x11-gui.sh VELMOR VELMOR_WINDOW_CLOSE SCREENSHOT_DIR
#
# Needs DISPLAY (a private Xvfb); exits 77 (skipped) without one.
set -u
velmor_src=$1
close_tool=$2
shots=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "e2e-x11-gui: no DISPLAY, skipped"
  exit 77
fi
e2e_scratch velmor-gui
e2e_logs="velmor.log velmor2.log velmor3.log trayer.log"
for t in xdotool trayer import; do
  command -v $t >/dev/null || fail "$t is missing (scripts/deps.sh test installs it)"
done
mkdir -p "$shots"

velmor_program_dir "$velmor_src"
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON

trayer --edge top --align right --widthtype request --height 22 --SetDockType false \
  >"$tmp/trayer.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
  xdotool search --class trayer >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --class trayer >/dev/null 2>&1 || fail "the tray host did not start"

# The visible main window of process $1, waiting up to $2 tenths of a second.
window_of() {
  for _ in $(seq 1 "$2"); do
    local w
    # The tray icon's window has the same title: the main window is the big one.
    for w in $(xdotool search --onlyvisible --pid "$1" --name '^Velmor$' 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w")"
      [ "$WIDTH" -ge 200 ] && { echo "$w"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
visible_count() {
  local n=0 w
  for w in $(xdotool search --onlyvisible --name '^Velmor$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -ge 200 ] && n=$((n + 1))
  done
  echo $n
}
set_theme() { printf '[General]\ntheme=%s\n' "$1" >"$XDG_CONFIG_HOME/Velmor/UI.conf"; }

# Start, show, hide to the tray, second start.
set_theme fluent
"$prog/velmor" >"$tmp/velmor.log" 2>&1 &
first=$!
pids+=("$first")
win=$(window_of "$first" 300) || fail "the main window did not appear"
[ -f "$prog/config.json" ] || fail "start-up did not write config.json"
grep -q '"language"' "$prog/config.json" || fail "config.json has no language"
"$close_tool" "$win" >/dev/null || fail "could not ask the window to close"
for _ in $(seq 1 50); do [ "$(visible_count)" = 0 ] && break; sleep 0.1; done
[ "$(visible_count)" = 0 ] || fail "closing the window did not hide it"
kill -0 "$first" 2>/dev/null || fail "closing the window ended the program"
timeout 20 "$prog/velmor" >"$tmp/velmor2.log" 2>&1
rc=$?
[ "$rc" = 0 ] || fail "the second start ended with $rc"
window_of "$first" 100 >/dev/null || fail "the second start did not bring the window back"
[ "$(visible_count)" = 1 ] || fail "the second start opened a window of its own"

# A restart waits for its predecessor, then takes over.
VELMOR_RESTARTED=1 "$prog/velmor" >"$tmp/velmor3.log" 2>&1 &
restarted=$!
pids+=("$restarted")
kill -0 "$restarted" 2>/dev/null || fail "the restarted program did not wait"
[ "$(visible_count)" = 1 ] || fail "the restarted program ran beside its predecessor"
kill -TERM "$first"
wait_for_exit "$first" 200 || fail "the program did not end on SIGTERM"
wait "$first"
rc=$?
[ "$rc" = 0 ] || fail "the program ended with $rc on SIGTERM"
window_of "$restarted" 300 >/dev/null || fail "the restarted program did not take over"
kill -TERM "$restarted"
wait_for_exit "$restarted" 200 || fail "the restarted program did not end"

# A screenshot per theme, of the gaze and the settings page: Ctrl+Tab
# passes over the hidden tabs, Start -> voice -> gaze -> settings.
for theme in fluent neon pro mono contrast large largedark; do
  set_theme "$theme"
  "$prog/velmor" >"$tmp/velmor.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  win=$(window_of "$pid" 300) || fail "no window with theme $theme"
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key ctrl+Tab ctrl+Tab
  sleep 0.5
  import -window "$win" "$shots/gui-$theme-gaze.png" || fail "no screenshot"
  xdotool key ctrl+Tab
  sleep 0.5
  import -window "$win" "$shots/gui-$theme-settings.png" || fail "no screenshot"
  kill -TERM "$pid"
  wait_for_exit "$pid" 200 || fail "the program did not end with theme $theme"
done
echo "gui e2e: ok; screenshots in $shots"
