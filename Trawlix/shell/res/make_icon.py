#!/usr/bin/python3
"""Draws the Ventis icon and writes it as Ventis.ico beside this script:
48, 32 and 16 pixels, each at 4, 8 and 24 bits per pixel (nine images).

The design: a teal disc with three white listening arcs around a dot, for a
tool that only listens. Run it again only to change the design.
"""
import math
import os
import struct

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 24)
TEAL = (0, 128, 128)
DARK = (0, 64, 64)
WHITE = (255, 255, 255)


def pixel(x, y, n):
    """Colour of pixel (x, y) of an n-by-n image; None outside the disc."""
    cx = cy = (n - 1) / 2
    r = n / 2 - 0.5
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return None
    if d > r - max(1, n / 16):
        return DARK
    # Arcs and dot low on the left, opening towards the top right.
    ox, oy = n * 0.3, n * 0.7
    dd = math.hypot(x - ox, y - oy)
    angle = math.degrees(math.atan2(oy - y, x - ox))
    w = max(0.7, n / 20)
    if dd < max(1.2, n * 0.09):
        return WHITE
    if -10 <= angle <= 100:
        for k in (0.24, 0.40, 0.56):
            if abs(dd - n * k) < w:
                return WHITE
    return TEAL


def palette(depth):
    if depth == 4:
        return [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
                (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
                (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    return cube + [(0, 64, 64), (0, 128, 128)] + [(i * 6, i * 6, i * 6) for i in range(1, 39)]


def nearest(pal, c):
    return min(range(len(pal)), key=lambda i: sum((a - b) ** 2 for a, b in zip(pal[i], c)))


def image(n, depth):
    pal = palette(depth) if depth < 24 else None
    rows, mask = [], []
    for y in reversed(range(n)):  # bottom-up
        row, mrow, bits = bytearray(), bytearray(), 0
        for x in range(n):
            c = pixel(x, y, n)
            transparent = c is None
            c = c or (0, 0, 0)
            if depth == 24:
                row += bytes((c[2], c[1], c[0]))
            elif depth == 8:
                row.append(nearest(pal, c))
            elif x % 2 == 0:
                row.append(nearest(pal, c) << 4)
            else:
                row[-1] |= nearest(pal, c)
            bits = bits << 1 | transparent
            if x % 8 == 7:
                mrow.append(bits)
                bits = 0
        if n % 8:
            mrow.append(bits << (8 - n % 8))
        while len(row) % 4:
            row.append(0)
        while len(mrow) % 4:
            mrow.append(0)
        rows.append(bytes(row))
        mask.append(bytes(mrow))
    colors = len(pal) if pal else 0
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, depth, 0, 0, 0, 0, colors, 0)
    pal_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in pal) if pal else b""
    return header + pal_bytes + b"".join(rows) + b"".join(mask)


def main():
    images = [(n, d, image(n, d)) for n in SIZES for d in DEPTHS]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, d, data in images:
        out += struct.pack("<BBBBHHII", n, n, 16 if d == 4 else 0, 0, 1, d, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "Ventis.ico"), "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
