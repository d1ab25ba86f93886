#!/usr/bin/env python3
"""Verifies the generated skin files: sizes and the exact header layout the
program's loader expects (24-bit bottom-up BMP3, one 48x48 8-bit icon).

usage: check-art.py ASSETDIR
"""

import os
import struct
import sys

BITMAPS = {
    "main_bg": (420, 250), "msg_bg": (380, 148),
    "chooser_bg": (236, 372), "popup_bg": (236, 137),
    "btn_min": (29, 17), "btn_max": (26, 17),
    "btn_close": (42, 17), "btn_popup_close": (24, 17),
}
for _b in ("browse", "start", "stop", "ok", "cancel"):
    BITMAPS["btn_" + _b] = (70, 28)
for _b in ("min", "max", "close", "popup_close", "browse", "start", "stop", "ok", "cancel"):
    BITMAPS["btn_%s_hot" % _b] = BITMAPS["btn_" + _b]


def check_bmp(path, w, h):
    data = open(path, "rb").read()
    stride = (w * 3 + 3) & ~3
    assert data[:2] == b"BM", "not a BMP"
    size, _, off = struct.unpack_from("<I I I", data, 2)
    bi = struct.unpack_from("<IiiHHI", data, 14)
    assert bi[0] == 40, "info header is %d bytes, not 40" % bi[0]
    assert bi[1:3] == (w, h), "size %dx%d, want %dx%d" % (bi[1], bi[2], w, h)
    assert bi[3] == 1 and bi[4] == 24 and bi[5] == 0, "planes/bits/compression %r" % (bi[3:],)
    assert off == 54, "pixel data at %d, want 54" % off
    assert size == len(data) == 54 + stride * h, "file length %d" % len(data)


def check_ico(path):
    data = open(path, "rb").read()
    assert len(data) == 3774, "icon is %d bytes, want 3774" % len(data)
    assert struct.unpack_from("<HHH", data, 0) == (0, 1, 1), "ICONDIR"
    assert struct.unpack_from("<BBBBHHII", data, 6) == (48, 48, 0, 0, 1, 8, 3752, 22), \
        "ICONDIRENTRY"
    bi = struct.unpack_from("<IiiHHIIiiII", data, 22)
    assert bi[:6] == (40, 48, 96, 1, 8, 0), "BITMAPINFOHEADER %r" % (bi,)
    assert bi[6] in (0, 2688) and bi[9] in (0, 256), "BITMAPINFOHEADER %r" % (bi,)
    # Transparent pixels must be black in the colour image so the AND/XOR
    # pair leaves the screen untouched there.
    pal = data[62:62 + 1024]
    xor = data[1086:1086 + 2304]
    mask = data[1086 + 2304:]
    for y in range(48):
        for x in range(48):
            if mask[y * 8 + x // 8] >> (7 - x % 8) & 1:
                i = xor[y * 48 + x]
                assert pal[i * 4:i * 4 + 3] == b"\0\0\0", "transparent pixel not black"


def main():
    d = sys.argv[1]
    expected = {n + ".bmp" for n in BITMAPS} | {"app.ico"}
    present = set(os.listdir(d))
    assert expected <= present, "missing: %s" % ", ".join(sorted(expected - present))
    for name, (w, h) in sorted(BITMAPS.items()):
        try:
            check_bmp(os.path.join(d, name + ".bmp"), w, h)
        except AssertionError as e:
            sys.exit("%s.bmp: %s" % (name, e))
    try:
        check_ico(os.path.join(d, "app.ico"))
    except AssertionError as e:
        sys.exit("app.ico: %s" % e)
    print("checked %d files in %s" % (len(expected), d))


if __name__ == "__main__":
    main()
