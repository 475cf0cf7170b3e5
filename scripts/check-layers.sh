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
# The GUI reaches the engine through its C API alone; only the program's
# entry point and its loop glue (gui/shell/main.cpp, main_host_*.cpp) use the platform layer.
gui_hits=$(grep -rnE '^\s*#\s*include\s*"engine/' gui --include='*.h' --include='*.cpp' \
             | grep -v '"engine/core/overlay_api.h"' \
             | grep -vE '^gui/shell/main(_host_[a-z0-9]+)?\.cpp:[0-9]+:\s*#\s*include\s*"engine/platform/' || true)
if [ -n "$gui_hits" ]; then
  echo "GUI code uses the engine past its C API:"
  echo "$gui_hits"
  exit 1
fi
echo "layer check: portable engine code is clean; the GUI uses the C API only"
