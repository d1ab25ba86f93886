#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. On a desktop session it opens on your
# display; without one it runs in a virtual screen and saves a screenshot.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/win
bash "$top/scripts/deps.sh" build wine
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target lanling-timer
. "$top/scripts/wine-env.sh"
desktop=${DISPLAY:-}
rig_start "$build/rig-run"
trap rig_stop EXIT
if [ -n "$desktop" ]; then  # a desktop session: show it there rather than in a virtual screen
  kill "$RIG_XVFB_PID" 2>/dev/null; wait "$RIG_XVFB_PID" 2>/dev/null || true
  RIG_XVFB_PID=
  export DISPLAY=$desktop
fi
echo "Running $build/app/lanling-timer.exe on display $DISPLAY (close the window or press Ctrl-C to end)"
wine "$build/app/lanling-timer.exe" 2>/dev/null &
pid=$!
if [ -n "${RIG_XVFB_PID:-}" ]; then
  sleep 4
  import -window root "$build/screenshot.png" && echo "Screenshot: $build/screenshot.png"
fi
wait "$pid" || true
