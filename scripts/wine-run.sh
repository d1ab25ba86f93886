#!/usr/bin/env bash
# Runs one Windows test program under Wine in the build's own prefix and a fresh Xvfb.
# ctest calls it for every Windows test (CMAKE_CROSSCOMPILING_EMULATOR).
set -u
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
shift
state=${LANLING_RIG_DIR:-$(dirname "$(realpath "$exe")")/../rig}
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
exec 9>"$state.lock" 2>/dev/null || true
flock 9 2>/dev/null || true
rig_start "$state" || exit 1
trap rig_stop EXIT
wine "$exe" "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-arch' -e 'apt-get install wine32' -e '^$' >&2)
rc=$?
exit $rc
