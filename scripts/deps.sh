#!/usr/bin/env bash
# Installs the Debian packages a step needs when they are missing.
# Usage: scripts/deps.sh [build] [wine] [format]
set -u
declare -A groups=(
  [build]="cmake ninja-build g++ libgtest-dev googletest g++-mingw-w64-x86-64-posix"
  [wine]="wine wine64 xvfb xdotool x11-utils imagemagick fonts-wqy-zenhei locales"
  [format]="clang-format"
)
want=()
for g in "$@"; do
  for p in ${groups[$g]}; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || want+=("$p")
  done
done
[ ${#want[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${want[*]}" >&2
  exit 1
fi
echo "Installing: ${want[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null && apt-get install -y -qq --no-install-recommends "${want[@]}" >/dev/null
