#!/usr/bin/env bash
# Checks the lunar calendar table day by day (1901-02-19 .. 2048-12-31) against two
# independent references installed from npm, and that the digest used by the native tests
# (tests/clock/lunar_new_years.txt) is current.  Exits non-zero on any mismatch.
#
#   tools/lunar/verify.sh            build the native dump, install the references, compare
#   tools/lunar/verify.sh --update   same, and rewrite the digest from the reference
#
# Needs node + npm and a C++17 compiler (CXX, default c++).  LUNAR_DUMP=<path> uses an
# already built lunar_dump instead of compiling one.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Reinstall when the lock file changed since the last install.
if [[ ! -f "$here/node_modules/.package-lock.json" ||
      "$here/package-lock.json" -nt "$here/node_modules/.package-lock.json" ]]; then
    (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
fi

dump="${LUNAR_DUMP:-}"
if [[ -z "$dump" ]]; then
    dump="$work/lunar_dump"
    "${CXX:-c++}" -std=c++17 -O2 -Wall -Wextra -Wshadow -fexec-charset=GBK -I"$root" \
        "$root/clock/lunar.cpp" "$root/clock/date_panel.cpp" "$here/lunar_dump.cpp" -o "$dump"
fi
"$dump" >"$work/ours.txt"

cd "$here"
node verify.cjs "$work/ours.txt" "$@"
