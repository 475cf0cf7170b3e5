#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those still missing, so it
# is quick to run again. Usage: scripts/deps.sh run|headless|test
set -eu
what=${1:-test}

run_pkgs=(cmake ninja-build g++ pkg-config libx11-dev libxtst-dev libxi-dev libxfixes-dev libxrandr-dev
          libxkbcommon-dev libpulse-dev qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
          fonts-dejavu-core)
test_pkgs=("${run_pkgs[@]}" clang libclang-rt-14-dev clang-format googletest libbenchmark-dev
           nlohmann-json3-dev python3 g++-mingw-w64-x86-64-posix wine wine64 fonts-wine
           xvfb xauth x11-utils xdotool pulseaudio pulseaudio-utils trayer imagemagick
           dbus-daemon at-spi2-core python3-pyatspi)
# npm fetches the prebuilt recogniser libraries (scripts/fetch-vosk.sh). A
# Node.js from elsewhere that brings its own npm is left alone.
command -v npm >/dev/null || test_pkgs+=(npm)
# What the run command adds when there is no display to show the program on.
headless_pkgs=(xvfb xauth x11-utils xdotool trayer imagemagick)
case "$what" in
  run) pkgs=("${run_pkgs[@]}") ;;
  headless) pkgs=("${headless_pkgs[@]}") ;;
  test) pkgs=("${test_pkgs[@]}") ;;
  *) echo "usage: $0 run|headless|test" >&2; exit 2 ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
  -o DPkg::Lock::Timeout=600 "${missing[@]}" >/dev/null
