#!/usr/bin/env python3
"""Draws the program icon: a stopwatch face, 48x48, 256 colours, one image.

The shapes are evaluated analytically with 8x8 supersampling, the colours are
reduced to a 255-entry median-cut palette (entry 0 stays black for the
transparent pixels) and the result is written as a single-image ICO with a
one-bit AND mask.

usage: icon.py OUT.ico
"""

import math
import struct
import sys

N = 48
SS = 8

CX, CY = 24.0, 26.5            # centre of the face
R_OUT = 20.5                   # outside of the dark outline
R_RIM = 19.3                   # outside of the orange rim
R_FACE = 14.8                  # outside of the dial
OUTLINE = (132, 40, 0)
RIM_TOP, RIM_BOTTOM = (255, 124, 44), (214, 62, 0)
FACE_TOP, FACE_BOTTOM = (255, 255, 255), (222, 225, 230)
FACE_SHADE = (176, 178, 186)
TICK = (120, 122, 130)
HAND = (38, 40, 46)
HUB = (236, 77, 0)


def lerp(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def seg_dist(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(ax + t * dx - x, ay + t * dy - y)


def in_rrect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polar(angle_deg, r):
    """Point at clock angle (0 = twelve o'clock, clockwise) and radius r."""
    a = math.radians(angle_deg)
    return CX + r * math.sin(a), CY - r * math.cos(a)


HOUR_TIP = polar(-60, 8.2)      # about ten o'clock
MINUTE_TIP = polar(60, 11.4)    # about ten past
TICKS = []
for i in range(12):
    if i % 3 == 0:              # only the quarters; finer marks just blur when small
        TICKS.append((polar(i * 30, 13.4), polar(i * 30, 11.0), 2.4))


def sample(x, y):
    """Colour at a point, or None where the icon is transparent."""
    d = math.hypot(x - CX, y - CY)
    # Crown and its stem on top of the case.
    if d > R_OUT:
        if in_rrect(x, y, 17.5, 0.5, 30.5, 5.0, 1.6):
            return OUTLINE if (y < 1.5 or y > 4.0 or x < 18.5 or x > 29.5) \
                else lerp(RIM_TOP, RIM_BOTTOM, y / 8.0)
        if 21.0 <= x <= 27.0 and 4.0 <= y <= 7.5:
            return OUTLINE if x < 22.0 or x > 26.0 else RIM_BOTTOM
        return None
    if d > R_RIM:
        return OUTLINE
    if d > R_FACE:
        c = lerp(RIM_TOP, RIM_BOTTOM, (y - (CY - R_RIM)) / (2 * R_RIM))
        if d > R_RIM - 1.2 and y < CY:          # a little shine on the rim
            c = lerp(c, (255, 255, 255), 0.35 * (CY - y) / R_RIM)
        return c
    if d > R_FACE - 1.0:
        return FACE_SHADE
    # Dial: hands and hub over the ticks over the face.
    if d <= 3.0:
        return HUB if d <= 1.9 else HAND
    if seg_dist(x, y, CX, CY, *HOUR_TIP) <= 2.0:
        return HAND
    if seg_dist(x, y, CX, CY, *MINUTE_TIP) <= 1.6:
        return HAND
    for (ax, ay), (bx, by), w in TICKS:
        if seg_dist(x, y, ax, ay, bx, by) <= w / 2:
            return TICK
    return lerp(FACE_TOP, FACE_BOTTOM, (y - (CY - R_FACE)) / (2 * R_FACE))


def render():
    """Rows top to bottom of (rgb or None) pixels."""
    img = []
    offs = [(k + 0.5) / SS for k in range(SS)]
    for y in range(N):
        row = []
        for x in range(N):
            s, hits = [0.0, 0.0, 0.0], 0
            for dy in offs:
                for dx in offs:
                    c = sample(x + dx, y + dy)
                    if c is not None:
                        hits += 1
                        s[0] += c[0]
                        s[1] += c[1]
                        s[2] += c[2]
            # One-bit transparency: keep pixels at least half covered, with
            # the colour of what covers them (no halo against the backdrop).
            if hits * 2 >= SS * SS:
                row.append(tuple(int(v / hits + 0.5) for v in s))
            else:
                row.append(None)
        img.append(row)
    return img


def median_cut(counts, n):
    """Deterministic weighted median cut of {rgb: count} into <= n colours."""
    boxes = [sorted(counts.items())]
    while len(boxes) < n:
        best, score = None, 0
        for i, b in enumerate(boxes):
            if len(b) < 2:
                continue
            span = max(max(c[0][k] for c in b) - min(c[0][k] for c in b) for k in range(3))
            sc = span * sum(c[1] for c in b)
            if sc > score:
                best, score = i, sc
        if best is None:
            break
        b = boxes.pop(best)
        ch = max(range(3), key=lambda k: max(c[0][k] for c in b) - min(c[0][k] for c in b))
        b.sort(key=lambda c: (c[0][ch], c[0]))
        total, acc, cut = sum(c[1] for c in b), 0, 1
        for j, c in enumerate(b[:-1]):
            acc += c[1]
            if acc * 2 >= total:
                cut = j + 1
                break
        boxes[best:best] = [b[:cut], b[cut:]]
    pal = []
    for b in boxes:
        t = sum(c[1] for c in b)
        pal.append(tuple(int(sum(c[0][k] * c[1] for c in b) / t + 0.5) for k in range(3)))
    return pal


def main():
    img = render()
    counts = {}
    for row in img:
        for c in row:
            if c is not None:
                counts[c] = counts.get(c, 0) + 1
    if len(counts) <= 255:
        pal = sorted(counts)
    else:
        pal = median_cut(counts, 255)
    pal = [(0, 0, 0)] + pal
    pal += [(0, 0, 0)] * (256 - len(pal))
    cache = {}

    def index(c):
        if c not in cache:
            cache[c] = min(range(1, 256), key=lambda i: (
                sum((pal[i][k] - c[k]) ** 2 for k in range(3)), i))
        return cache[c]

    xor = bytearray()
    andmask = bytearray()
    for row in reversed(img):                   # bottom-up
        xor += bytes(0 if c is None else index(c) for c in row)
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is None else 0)
        andmask += bits.to_bytes(N // 8, "big") + bytes(8 - N // 8)
    assert len(xor) == N * N and len(andmask) == N * 8

    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
    header = struct.pack("<IiiHHIIiiII", 40, N, 2 * N, 1, 8, 0,
                         len(xor) + len(andmask), 0, 0, 0, 0)
    image = header + palette + bytes(xor) + bytes(andmask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", N, N, 0, 0, 1, 8, len(image), 6 + 16)
    with open(sys.argv[1], "wb") as f:
        f.write(icondir + entry + image)


if __name__ == "__main__":
    main()
