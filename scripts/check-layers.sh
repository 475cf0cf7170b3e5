#!/usr/bin/env bash
# Portable engine code includes no OS, X11 or Qt header: only the platform
# backends (engine/platform/<backend>/) and the renderer may.
set -u
cd "$(dirname "$0")/.."
hits=$(grep -rnE '^\s*#\s*include\s*[<"](windows\.h|win[a-z]*\.h|X11/|xkbcommon/|Q[A-Za-z]+|Qt[A-Za-z]+/|unistd\.h|sys/)' engine \
         --include='*.h' --include='*.cpp' \
       | grep -vE '^engine/(platform/(win32|linux)|render)/' || true)
if [ -n "$hits" ]; then
  echo "portable engine code includes a platform header:"
  echo "$hits"
  exit 1
fi
echo "layer check: portable engine code is clean"
