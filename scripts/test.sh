#!/usr/bin/env bash
# Builds everything and runs every test: the native core under ASan/UBSan, then the Windows
# build under Wine (contract suite, end-to-end tests of the real program).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${LANLING_BUILD:-$top/build}
bash "$top/scripts/deps.sh" build wine format

echo "== format"
files=$(cd "$top" && git ls-files '*.cpp' '*.h' 2>/dev/null || find app ui clock task platform tests tools -name '*.cpp' -o -name '*.h')
(cd "$top" && clang-format --dry-run -Werror $files)

echo "== native build and tests"
cmake -S "$top" -B "$build/native" -G Ninja -DLANLING_WERROR=ON >/dev/null
cmake --build "$build/native"
ctest --test-dir "$build/native" --output-on-failure

echo "== Windows build and tests under Wine"
cmake -S "$top" -B "$build/win" -G Ninja -DLANLING_WERROR=ON -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/win"
ctest --test-dir "$build/win" --output-on-failure
