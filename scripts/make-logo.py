#!/usr/bin/env python3
"""Draws the maker's logo of the about panel (res/logo.bmp, 180 x 50, 24 bit):
the letters VAK in thick strokes beside the program's flower, on a soft band.

Run by hand when the artwork changes; the .bmp is kept in the repository.
"""
import math
import struct
import sys

W, H = 180, 50

# Strokes of the letters as line segments (x0, y0, x1, y1), in pixels.
LETTERS = [
    # V
    (62, 9, 74, 41), (74, 41, 86, 9),
    # A
    (92, 41, 104, 9), (104, 9, 116, 41), (97, 29, 111, 29),
    # K
    (124, 9, 124, 41), (124, 27, 142, 9), (129, 23, 143, 41),
]
STROKE = 3.2


def seg_dist(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def pixel(x, y):
    # Background: a band from light blue to white, rounded at the ends.
    bg = mix((214, 230, 248), (250, 252, 255), x / float(W))
    r = 12.0
    cx = min(max(x, r), W - 1 - r)
    cy = min(max(y, r), H - 1 - r)
    if math.hypot(x - cx, y - cy) > r:
        return (240, 240, 240)  # the panel's face around the band
    colour = bg
    # The flower at the left.
    fx, fy = 30.0, 25.0
    d = math.hypot(x - fx, y - fy)
    ang = math.atan2(y - fy, x - fx)
    petal = 16.0 * abs(math.cos(2.5 * ang)) ** 0.6
    if d < 5.5:
        colour = (250, 210, 40)
    elif d < petal:
        colour = mix((60, 170, 60), (30, 120, 40), d / 16.0)
    # The letters, with a soft edge.
    dist = min(seg_dist(x, y, *s) for s in LETTERS)
    if dist < STROKE + 1.0:
        t = max(0.0, min(1.0, STROKE + 1.0 - dist))
        colour = mix(colour, (30, 80, 160), t)
    return colour


def main(path):
    row_size = (W * 3 + 3) // 4 * 4
    rows = []
    for y in range(H - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(W):
            r, g, b = pixel(x + 0.5, y + 0.5)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    with open(path, "wb") as f:
        f.write(file_header + header + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/logo.bmp")
