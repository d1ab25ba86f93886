#!/usr/bin/env python3
"""Draws the skin bitmaps (window backgrounds and buttons) of the timer.

Pixels are composed here; ImageMagick only rasterises captions into grey
coverage masks and encodes the finished frames as 24-bit BMP3 files.
Everything is deterministic: no clocks, fixed seeds, no metadata.

usage: skin.py OUTDIR WORKDIR
"""

import os
import random
import subprocess
import sys

FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"

# Palette shared by every window.
FRAME = (100, 104, 100)        # one-pixel outline around each window
STRIP = (44, 48, 44)           # title strip; also the icon box colour
STRIP_TOP = (56, 60, 56)       # highlight row at the top of the strip
STRIP_EDGE = (28, 31, 28)      # dark line under the strip
STRIP_SHINE = (76, 80, 76)     # lighter line just below that
BODY_TOP = (66, 68, 66)
BODY_BOTTOM = (52, 54, 52)
BODY_MID = (58, 60, 58)        # what task buttons usually sit on
TEXT = (236, 236, 236)
WHITE = (255, 255, 255)
HOT_BLUE = ((56, 128, 226), (36, 100, 198))
HOT_RED = ((218, 58, 58), (186, 34, 34))
STRIP_H = 25                   # rows 0..24 belong to the title strip


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Canvas:
    def __init__(self, w, h, color=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(color) for _ in range(w * h)]

    def get(self, x, y):
        return self.px[y * self.w + x]

    def put(self, x, y, c, a=1.0):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            p = self.px[y * self.w + x]
            if a >= 1:
                p[0], p[1], p[2] = c[0], c[1], c[2]
            else:
                for i in range(3):
                    p[i] += (c[i] - p[i]) * a

    def rect(self, x0, y0, x1, y1, c):
        """Fill the inclusive pixel rectangle x0..x1, y0..y1."""
        for y in range(max(y0, 0), min(y1, self.h - 1) + 1):
            for x in range(max(x0, 0), min(x1, self.w - 1) + 1):
                self.put(x, y, c)

    def vgrad(self, x0, y0, x1, y1, top, bottom):
        n = max(y1 - y0, 1)
        for y in range(y0, y1 + 1):
            c = lerp(top, bottom, (y - y0) / n)
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def outline(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0, c)
        self.rect(x0, y1, x1, y1, c)
        self.rect(x0, y0, x0, y1, c)
        self.rect(x1, y0, x1, y1, c)

    def paint(self, inside, color, box, ss=5, alpha=1.0):
        """Anti-aliased fill of the region where inside(x, y) holds.

        Coordinates are continuous: pixel (i, j) covers [i, i+1) x [j, j+1).
        color is an RGB triple or a function of the pixel (x, y).
        """
        x0, y0, x1, y1 = box
        step = 1.0 / ss
        offs = [(k + 0.5) * step for k in range(ss)]
        for y in range(max(int(y0), 0), min(int(y1) + 1, self.h)):
            for x in range(max(int(x0), 0), min(int(x1) + 1, self.w)):
                hits = sum(1 for dy in offs for dx in offs if inside(x + dx, y + dy))
                if hits:
                    c = color(x, y) if callable(color) else color
                    self.put(x, y, c, alpha * hits / (ss * ss))

    def mask(self, m, mw, mh, ox, oy, color, alpha=1.0):
        """Blend a coverage mask (bytes, 0..255) with its top-left at ox, oy."""
        for j in range(mh):
            for i in range(mw):
                v = m[j * mw + i]
                if v:
                    c = color(ox + i, oy + j) if callable(color) else color
                    self.put(ox + i, oy + j, c, alpha * v / 255.0)

    def blown_up(self, x0, y0, w, h, k):
        """A k-times enlarged copy of a region, for drawing fine detail."""
        big = Canvas(w * k, h * k)
        for y in range(h * k):
            for x in range(w * k):
                big.px[y * w * k + x] = list(self.get(x0 + x // k, y0 + y // k))
        return big

    def shrink_into(self, big, x0, y0, k):
        """Average a blown_up() region back down into place."""
        w, h = big.w // k, big.h // k
        for y in range(h):
            for x in range(w):
                s = [0.0, 0.0, 0.0]
                for j in range(k):
                    row = (y * k + j) * big.w + x * k
                    for i in range(k):
                        p = big.px[row + i]
                        s[0] += p[0]
                        s[1] += p[1]
                        s[2] += p[2]
                self.put(x0 + x, y0 + y, [v / (k * k) for v in s])

    def ppm(self):
        out = bytearray(b"P6 %d %d 255\n" % (self.w, self.h))
        for p in self.px:
            out += bytes(max(0, min(255, int(v + 0.5))) for v in p)
        return bytes(out)


# ---------------------------------------------------------------- shapes

def in_rrect(x0, y0, x1, y1, r):
    """Rounded rectangle with outer edges x0..x1, y0..y1 (continuous)."""
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def in_disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_capsule(ax, ay, bx, by, w):
    """Segment a-b stroked with width w and round caps."""
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    half = w / 2.0

    def inside(x, y):
        t = ((x - ax) * dx + (y - ay) * dy) / ll if ll else 0.0
        t = min(max(t, 0.0), 1.0)
        ex, ey = ax + t * dx - x, ay + t * dy - y
        return ex * ex + ey * ey <= half * half
    return inside


# ---------------------------------------------------------------- text

class Text:
    """Captions rasterised by ImageMagick, cropped to their ink."""

    def __init__(self, workdir):
        self.workdir = workdir
        self.n = 0

    def mask(self, text, size, stroke=0.0):
        w, h = int(size * (len(text) + 2)), int(size * 3)
        self.n += 1
        raw = os.path.join(self.workdir, "text%d.gray" % self.n)
        cmd = ["convert", "-size", "%dx%d" % (w, h), "xc:black",
               "-font", FONT, "-pointsize", str(size), "-fill", "white"]
        if stroke:
            cmd += ["-stroke", "white", "-strokewidth", str(stroke)]
        cmd += ["-gravity", "NorthWest", "-annotate", "+%d+%d" % (size, size),
                text, "-depth", "8", "gray:" + raw]
        subprocess.run(cmd, check=True)
        with open(raw, "rb") as f:
            data = f.read()
        assert len(data) == w * h, "unexpected text raster size"
        rows = [j for j in range(h) if any(data[j * w:(j + 1) * w])]
        cols = [i for i in range(w) if any(data[j * w + i] for j in rows)]
        x0, x1, y0, y1 = cols[0], cols[-1], rows[0], rows[-1]
        mw, mh = x1 - x0 + 1, y1 - y0 + 1
        m = bytes(data[j * w + i] for j in range(y0, y1 + 1) for i in range(x0, x1 + 1))
        return m, mw, mh


def centred_text(cv, tm, x0, y0, x1, y1, color, shadow=None, dy=0):
    """Put a text mask with its ink centred in the pixel box x0..x1, y0..y1."""
    m, mw, mh = tm
    ox = x0 + ((x1 - x0 + 1) - mw) // 2
    oy = y0 + ((y1 - y0 + 1) - mh) // 2 + dy
    if shadow:
        cv.mask(m, mw, mh, ox, oy + 1, shadow[0], shadow[1])
    cv.mask(m, mw, mh, ox, oy, color)


# ---------------------------------------------------------------- windows

def window(w, h):
    """Frame, title strip and body shared by every window background."""
    cv = Canvas(w, h)
    cv.vgrad(0, STRIP_H + 1, w - 1, h - 1, BODY_TOP, BODY_BOTTOM)
    cv.rect(0, 0, w - 1, STRIP_H - 1, STRIP)
    cv.rect(0, 1, w - 1, 1, STRIP_TOP)
    cv.rect(0, STRIP_H, w - 1, STRIP_H, STRIP_EDGE)
    cv.rect(0, STRIP_H + 1, w - 1, STRIP_H + 1, STRIP_SHINE)
    cv.outline(0, 0, w - 1, h - 1, FRAME)
    return cv


def main_bg():
    cv = window(420, 250)
    # Date panel on the left: light outer line, dark inner line, and a
    # finely hatched, lightly grained fill that white text reads well on.
    x0, y0, x1, y1 = 6, 27, 166, 216
    cv.outline(x0, y0, x1, y1, (112, 116, 112))
    cv.outline(x0 + 1, y0 + 1, x1 - 1, y1 - 1, (24, 26, 24))
    rnd = random.Random(7)
    top, bottom = (50, 53, 50), (38, 40, 38)
    for y in range(y0 + 2, y1 - 1):
        base = lerp(top, bottom, (y - y0 - 2) / (y1 - y0 - 4))
        for x in range(x0 + 2, x1 - 1):
            d = 4 if (x + y) % 4 == 0 else 0
            n = rnd.randint(-3, 3)
            cv.put(x, y, [v + d + n for v in base])
    # Soft sheen across the top of the panel.
    for y in range(y0 + 2, y0 + 14):
        a = 0.10 * (1 - (y - y0 - 2) / 12)
        for x in range(x0 + 2, x1 - 1):
            cv.put(x, y, WHITE, a)
    return cv


def msg_bg(text):
    cv = window(380, 148)
    # Question and warning badges, drawn four times larger and averaged
    # down so the round edges come out smooth.
    k = 4
    bx, by, bw, bh = 18, 54, 60, 32
    big = cv.blown_up(bx, by, bw, bh, k)
    for cx, (hi, lo, rim), glyph in (
            (33, ((110, 170, 250), (30, 90, 200), (16, 52, 130)), "?"),
            (62, ((255, 180, 90), (236, 110, 10), (150, 62, 0)), "!")):
        ccx, ccy, r = (cx - bx) * k, (70 - by) * k, 13.5 * k
        big.paint(in_disc(ccx + k * 0.6, ccy + k, r), (20, 22, 20),
                  (ccx - r, ccy - r, ccx + r + 2 * k, ccy + r + 2 * k), ss=1, alpha=0.45)
        big.paint(in_disc(ccx, ccy, r), rim, (ccx - r, ccy - r, ccx + r, ccy + r), ss=1)
        ri = r - 1.2 * k
        big.paint(in_disc(ccx, ccy, ri),
                  lambda x, y, hi=hi, lo=lo, t0=ccy - ri, s=2 * ri:
                  lerp(hi, lo, min(max((y - t0) / s, 0), 1)),
                  (ccx - ri, ccy - ri, ccx + ri, ccy + ri), ss=1)
        # Glossy cap over the upper half.
        gloss = in_disc(ccx, ccy - 0.62 * ri, 0.78 * ri)
        big.paint(lambda x, y, g=gloss, c=in_disc(ccx, ccy, ri - k * 0.8): g(x, y) and c(x, y),
                  WHITE, (ccx - ri, ccy - ri, ccx + ri, ccy), ss=1, alpha=0.22)
        if glyph == "!":
            # Drawn rather than typeset: a tapering bar and a clear dot.
            top, foot, dot = ccy - 8.6 * k, ccy + 2.4 * k, ccy + 6.6 * k
            bar = lambda x, y: (top <= y <= foot and
                                abs(x - ccx) <= (2.5 - 0.9 * (y - top) / (foot - top)) * k)
            cap = in_disc(ccx, top + 2.5 * k, 2.5 * k)
            shapes = [(lambda x, y: (bar(x, y) and y >= top + 2.5 * k) or cap(x, y),
                       (ccx - 3 * k, top, ccx + 3 * k, foot)),
                      (in_disc(ccx, dot, 2.2 * k), (ccx - 3 * k, dot - 3 * k, ccx + 3 * k, dot + 3 * k))]
            for f, (x0, y0, x1, y1) in shapes:
                big.paint(lambda x, y, f=f: f(x - k / 2, y - k), (0, 0, 0),
                          (x0, y0, x1 + k, y1 + k), ss=1, alpha=0.30)
            for f, box in shapes:
                big.paint(f, WHITE, box, ss=1)
        else:
            m, mw, mh = text.mask(glyph, 19 * k, stroke=2.5 * k)
            ox, oy = int(ccx - mw / 2), int(ccy - mh / 2)
            big.mask(m, mw, mh, ox + k // 2, oy + k, (0, 0, 0), 0.30)
            big.mask(m, mw, mh, ox, oy, WHITE)
    cv.shrink_into(big, bx, by, k)
    return cv


# ---------------------------------------------------------------- buttons

def task_button(text, caption, hot):
    w, h = 70, 28
    cv = Canvas(w, h, BODY_MID)
    if hot:
        border = (64, 132, 222)
        upper = ((132, 138, 132), (106, 111, 106))
        lower = ((90, 95, 90), (76, 80, 76))
        shine = (170, 176, 170)
    else:
        border = (22, 24, 22)
        upper = ((94, 98, 94), (74, 77, 74))
        lower = ((62, 65, 62), (50, 52, 50))
        shine = (122, 126, 122)
    mid = h // 2

    def fill(x, y):
        if y < mid:
            return lerp(upper[0], upper[1], (y - 1) / (mid - 2))
        return lerp(lower[0], lower[1], (y - mid) / (h - 2 - mid))

    cv.paint(in_rrect(0, 0, w, h, 3.5), border, (0, 0, w, h))
    cv.paint(in_rrect(1, 1, w - 1, h - 1, 2.5), fill, (1, 1, w - 1, h - 1))
    cv.paint(in_rrect(2, 1, w - 2, 2, 0.5), shine, (2, 1, w - 2, 2), alpha=0.8)
    centred_text(cv, text.mask(caption, 13), 0, 0, w - 1, h - 1,
                 WHITE if hot else TEXT, shadow=((0, 0, 0), 0.55))
    return cv


def bar_button(w, glyph, hot, color=(206, 210, 206)):
    """A title-strip button; normal ones are the strip itself plus the glyph."""
    h = 17
    cv = Canvas(w, h, STRIP)
    if hot:
        cv.vgrad(0, 0, w - 1, h - 1, hot[0], hot[1])
        cv.rect(0, 0, w - 1, 0, lerp(hot[0], WHITE, 0.25))
        color = WHITE
    cx = w // 2
    if glyph == "min":
        cv.rect(cx - 5, 10, cx + 4, 11, color)
    elif glyph == "max":
        cv.outline(cx - 5, 4, cx + 4, 12, color)
        cv.rect(cx - 5, 5, cx + 4, 5, color)
    else:
        x0, y0, s = cx - 4, 4.0, 9.0
        cv.paint(in_capsule(x0 + 0.5, y0 + 0.5, x0 + s - 0.5, y0 + s - 0.5, 1.6),
                 color, (x0, y0, x0 + s, y0 + s), ss=6)
        cv.paint(in_capsule(x0 + s - 0.5, y0 + 0.5, x0 + 0.5, y0 + s - 0.5, 1.6),
                 color, (x0, y0, x0 + s, y0 + s), ss=6)
    return cv


# ---------------------------------------------------------------- output

def main():
    outdir, workdir = sys.argv[1], sys.argv[2]
    text = Text(workdir)
    pictures = {
        "main_bg": main_bg(),
        "msg_bg": msg_bg(text),
        "chooser_bg": window(236, 372),
        "popup_bg": window(236, 137),
    }
    for name, caption in (("browse", "浏览"), ("start", "开始"), ("stop", "停止"),
                          ("ok", "确定"), ("cancel", "取消")):
        pictures["btn_" + name] = task_button(text, caption, False)
        pictures["btn_" + name + "_hot"] = task_button(text, caption, True)
    for name, w, glyph, hot, color in (
            ("min", 29, "min", HOT_BLUE, (206, 210, 206)),
            ("max", 26, "max", HOT_BLUE, (206, 210, 206)),
            ("close", 42, "x", HOT_RED, (206, 210, 206)),
            ("popup_close", 24, "x", HOT_RED, WHITE)):
        pictures["btn_" + name] = bar_button(w, glyph, None, color)
        pictures["btn_" + name + "_hot"] = bar_button(w, glyph, hot, color)
    for name, cv in sorted(pictures.items()):
        src = os.path.join(workdir, name + ".ppm")
        with open(src, "wb") as f:
            f.write(cv.ppm())
        subprocess.run(["convert", src, "-type", "truecolor",
                        "+set", "date:create", "+set", "date:modify", "-strip",
                        "BMP3:" + os.path.join(outdir, name + ".bmp")], check=True)


if __name__ == "__main__":
    main()
