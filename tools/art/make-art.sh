#!/usr/bin/env bash
# Regenerates every picture in assets/ (skin bitmaps and the program icon).
# The output is byte-for-byte reproducible; run it after touching anything
# under tools/art/ and commit the changed files in assets/.
#
#   tools/art/make-art.sh [--sheet PREVIEW.png]
#
# --sheet also writes an enlarged contact sheet of everything for a look.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/assets
font=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
sheet=
if [ "${1:-}" = "--sheet" ]; then sheet=${2:?--sheet needs a file name}; fi

missing=()
command -v convert >/dev/null || missing+=(imagemagick)
command -v python3 >/dev/null || missing+=(python3)
[ -f "$font" ] || missing+=(fonts-wqy-zenhei)
if [ ${#missing[@]} -gt 0 ]; then
  echo "make-art.sh: missing tools; install them with:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

python3 "$here/skin.py" "$out" "$work"
python3 "$here/icon.py" "$out/app.ico"
python3 "$here/check-art.py" "$out"

if [ -n "$sheet" ]; then
  cd "$out"
  bg='rgb(24,24,24)'
  montage -background "$bg" -geometry +6+6 -tile 2x main_bg.bmp chooser_bg.bmp msg_bg.bmp popup_bg.bmp "$work/a.png"
  btns=()
  for b in browse start stop ok cancel min max close popup_close; do btns+=(btn_$b.bmp); done
  for b in browse start stop ok cancel min max close popup_close; do btns+=(btn_${b}_hot.bmp); done
  montage -background "$bg" -geometry +4+4 -tile 9x "${btns[@]}" "$work/b.png"
  convert 'app.ico[0]' -background 'rgb(44,48,44)' -flatten "$work/i48.png"
  convert 'app.ico[0]' -background white -flatten "$work/i48w.png"
  convert 'app.ico[0]' -resize 16x16 -background 'rgb(44,48,44)' -flatten -scale 300% "$work/i16.png"
  convert 'app.ico[0]' -resize 16x16 -background white -flatten -scale 300% "$work/i16w.png"
  montage -background "$bg" -geometry +6+6 -tile 4x "$work"/i48.png "$work"/i48w.png "$work"/i16.png "$work"/i16w.png "$work/c.png"
  convert -background "$bg" "$work/a.png" "$work/b.png" "$work/c.png" -append -scale 200% "$sheet"
  echo "contact sheet: $sheet"
fi
