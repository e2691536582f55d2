#!/usr/bin/env python3
"""Draw the program icon (a video camera) and write it as a 32x32 .ico.

Usage: python3 assets/draw_icon.py OUTPUT.ico

Everything is integer geometry so the output is byte-for-byte reproducible.
"""
import os
import struct
import sys

SIZE = 32

BORDER = (0x12, 0x16, 0x1C)
BODY = (0x34, 0x3C, 0x48)
REEL = (0x4C, 0x56, 0x64)
HUB = (0xB8, 0xC2, 0xCE)
RING = (0xA8, 0xB6, 0xC6)
GLASS = (0x1E, 0x40, 0x78)
SHINE = (0xFF, 0xFF, 0xFF)
LAMP = (0xE8, 0x30, 0x30)

# One row per y, top to bottom; None marks a transparent pixel.
canvas = [[None] * SIZE for _ in range(SIZE)]


def put(x, y, colour):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        canvas[y][x] = colour


def circle(cx, cy, r, colour):
    # Pixel (x, y) is inside when its centre lies within the circle; working
    # in doubled coordinates keeps the test in integers.
    for y in range(cy - r - 1, cy + r + 2):
        for x in range(cx - r - 1, cx + r + 2):
            if (2 * (x - cx)) ** 2 + (2 * (y - cy)) ** 2 <= (2 * r + 1) ** 2:
                put(x, y, colour)


def rounded_rect(x0, y0, x1, y1, r, colour):
    # Inclusive bounds; each corner is cut by a circle of radius r.
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            dx = max(x0 + r - x, 0, x - (x1 - r))
            dy = max(y0 + r - y, 0, y - (y1 - r))
            if 4 * (dx * dx + dy * dy) <= (2 * r + 1) ** 2:
                put(x, y, colour)


def flare(x0, x1, cy, h0, h1, colour):
    # Trapezoid opening to the right: half-height grows from h0 to h1.
    for x in range(x0, x1 + 1):
        h = h0 + (h1 - h0) * (x - x0) // (x1 - x0)
        for y in range(cy - h, cy + h + 1):
            put(x, y, colour)


def outline(colour):
    # Opaque pixels touching transparency get the border colour, so the
    # silhouette stays readable on both light and dark backgrounds.
    edge = []
    for y in range(SIZE):
        for x in range(SIZE):
            if canvas[y][x] is None:
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if not (0 <= nx < SIZE and 0 <= ny < SIZE) or canvas[ny][nx] is None:
                    edge.append((x, y))
                    break
    for x, y in edge:
        put(x, y, colour)


def draw():
    # Silhouette first: two film reels, the body, the lens hood.
    circle(7, 7, 5, REEL)
    circle(19, 7, 5, REEL)
    rounded_rect(1, 12, 23, 27, 3, BODY)
    flare(23, 31, 19, 3, 8, BODY)
    outline(BORDER)
    # Reel hubs, so the circles read as reels and not as blobs.
    for cx in (7, 19):
        circle(cx, 7, 1, HUB)
        put(cx, 7, BORDER)
    # Lens: light ring, dark glass, a small highlight.
    circle(12, 19, 5, BORDER)
    circle(12, 19, 4, RING)
    circle(12, 19, 2, GLASS)
    put(11, 18, SHINE)
    # Recording lamp.
    put(3, 14, LAMP)
    put(4, 14, LAMP)


def encode_ico():
    xor = bytearray()
    mask = bytearray()
    mask_stride = (SIZE + 31) // 32 * 4
    for row in reversed(canvas):  # DIB rows run bottom-up
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px is None:
                xor += b"\0\0\0\0"
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = px
                xor += bytes((b, g, r, 0))  # alpha stays 0: the mask decides
        mask += bits
    image = bytes(xor + mask)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0,
                         len(image), 0, 0, 0, 0)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32,
                        len(header) + len(image), 6 + 16)
    return icondir + entry + header + image


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: draw_icon.py OUTPUT.ico\n")
        return 2
    draw()
    out = argv[1]
    tmp = out + ".tmp"
    with open(tmp, "wb") as f:
        f.write(encode_ico())
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
