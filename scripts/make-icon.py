#!/usr/bin/env python3
"""Draws the application icon (res/vak.ico): a speech bubble with a flower.

Run by hand when the artwork changes; the .ico is kept in the repository.
"""
import math
import struct
import sys


def pixel(x, y, size):
    s = size / 32.0
    cx, cy = 16 * s, 14 * s
    # Speech bubble: rounded body plus a tail at the lower left.
    bx, by, bw, bh, r = 2 * s, 3 * s, 28 * s, 20 * s, 6 * s
    inside = False
    if bx <= x <= bx + bw and by <= y <= by + bh:
        dx = max(bx + r - x, 0, x - (bx + bw - r))
        dy = max(by + r - y, 0, y - (by + bh - r))
        inside = dx * dx + dy * dy <= r * r
    tail = 6 * s <= x <= 14 * s and by + bh - 1 <= y <= 29 * s and (x - 6 * s) <= (29 * s - y) * 0.8
    if not (inside or tail):
        return (0, 0, 0, 0)
    # Flower: five petals around a yellow centre.
    d = math.hypot(x - cx, y - cy)
    if d < 3 * s:
        return (250, 210, 40, 255)
    ang = math.atan2(y - cy, x - cx)
    petal = 7.5 * s * abs(math.cos(2.5 * ang)) ** 0.6
    if d < petal:
        return (60, 170, 60, 255)
    edge = not (inside and bx + s <= x <= bx + bw - s and by + s <= y <= by + bh - s) and not tail
    return (30, 80, 160, 255) if edge else (235, 245, 255, 255)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = b""
        for x in range(size):
            r, g, b, a = pixel(x + 0.5, y + 0.5, size)
            row += bytes((b, g, r, a))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/vak.ico")
