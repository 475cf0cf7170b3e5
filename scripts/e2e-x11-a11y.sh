#!/usr/bin/env bash
# The velmor window's accessibility tree through AT-SPI, on a private
# session bus: every control has a name, and the tabs and the gaze and
# settings controls are there by name.
#
#   scripts/e2e-x11-a11y.sh VELMOR LIST_ACCESSIBLE_PY
#
# Needs DISPLAY (a private Xvfb); exits 77 (skipped) without one.
set -u
velmor_src=$1
lister=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "e2e-x11-a11y: no DISPLAY, skipped"
  exit 77
fi
if [ -z "${VELMOR_A11Y_INNER:-}" ]; then
  command -v dbus-run-session >/dev/null || fail "dbus-run-session is missing (scripts/deps.sh test installs dbus)"
  exec env VELMOR_A11Y_INNER=1 dbus-run-session -- "$0" "$@"
fi
e2e_scratch velmor-a11y
e2e_logs="velmor.log bus.log tree.txt"
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || fail "at-spi-bus-launcher is missing (scripts/deps.sh test installs at-spi2-core)"

velmor_program_dir "$velmor_src"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

"$launcher" --launch-immediately >"$tmp/bus.log" 2>&1 &
pids+=($!)
"$prog/velmor" >"$tmp/velmor.log" 2>&1 &
velmor=$!
pids+=("$velmor")
timeout 60 /usr/bin/python3 "$lister" "Start" "Komendy głosowe" "Sterowanie wzrokiem" "Ustawienia" \
  "Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte" "Wysoki kontrast" \
  "Język / Language" >"$tmp/tree.txt" 2>&1 || fail "the accessibility tree is not complete"
cat "$tmp/tree.txt"
kill -TERM "$velmor"
wait_for_exit "$velmor" 200 || fail "velmor did not end"
echo "accessibility: ok"
