#!/usr/bin/env bash
# Start-up time and peak memory of the program beside an empty Win32 window program, under the
# same Wine. Usage: tools/bench/startup.sh [runs]
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${LANLING_WIN_BUILD:-$top/build/win}
bash "$top/scripts/deps.sh" build wine
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target lanling-timer empty_window startup_bench >/dev/null
. "$top/scripts/wine-env.sh"
rig_start "$build/rig-bench"
trap rig_stop EXIT
wine "$build/tools/bench/startup_bench.exe" "${1:-7}" \
     "$(winepath -w "$build/app/lanling-timer.exe")" \
     "$(winepath -w "$build/tools/bench/empty_window.exe")" 2>/dev/null
