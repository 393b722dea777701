#!/usr/bin/env python3
"""Draws the program icon: a small window whose desk holds four item tiles.
Writes a 32x32, 32-bit ICO with an alpha channel (no dependencies)."""
import struct
import sys

SIZE = 32


def inside_rounded(x, y, left, top, right, bottom, radius):
    if x < left or x >= right or y < top or y >= bottom:
        return False
    cx = min(max(x, left + radius), right - 1 - radius)
    cy = min(max(y, top + radius), bottom - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def pixel(x, y):
    # Window frame with a title bar, then the desk area and item tiles.
    if not inside_rounded(x, y, 1, 2, 31, 30, 3):
        return (0, 0, 0, 0)
    if not inside_rounded(x, y, 2, 3, 30, 29, 2):
        return (30, 40, 70, 255)           # outline
    if y < 8:
        return (60, 110, 200, 255)         # title bar
    tiles = [
        (5, 11, (240, 190, 60)),   # folder yellow
        (17, 11, (90, 200, 120)),  # green
        (5, 20, (230, 90, 80)),    # red
        (17, 20, (160, 120, 230)), # violet
    ]
    for tx, ty, colour in tiles:
        if tx <= x < tx + 9 and ty <= y < ty + 6:
            return colour + (255,)
        if tx + 1 <= x < tx + 8 and y == ty + 7:
            return (200, 210, 230, 255)     # label line
    return (28, 58, 110, 255)               # desk background


def main(path):
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            rows.append(struct.pack("<BBBB", b, g, r, a))
    xor = b"".join(rows)
    mask_rows = []
    for y in range(SIZE - 1, -1, -1):
        bits = 0
        for x in range(SIZE):
            if pixel(x, y)[3] == 0:
                bits |= 1 << (31 - x)
        mask_rows.append(struct.pack(">I", bits))
    mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + image)


if __name__ == "__main__":
    main(sys.argv[1])
