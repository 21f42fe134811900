#!/usr/bin/env python3
"""Draws the device tile pictures: 167 is a rack unit switched off, 168 the same unit running.

Both are 80 x 20 pixels in the 16 standard colours, written as 4-bit palette PNGs so that no
imaging library is needed. Run it from anywhere; it writes next to itself in bitmaps/.
"""
import pathlib
import struct
import zlib

WIDTH, HEIGHT = 80, 20

# The 16-colour palette of the original tile bitmaps, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


def rack_unit(running):
    pixels = [[BLACK] * WIDTH for _ in range(HEIGHT)]

    def fill(left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                pixels[y][x] = colour

    def bevel(left, top, right, bottom, light, dark):
        fill(left, top, right, top + 1, light)
        fill(left, top, left + 1, bottom, light)
        fill(left, bottom - 1, right, bottom, dark)
        fill(right - 1, top, right, bottom, dark)

    # Front panel between the two rack ears, with its mounting holes.
    fill(0, 0, WIDTH, HEIGHT, GREY)
    bevel(0, 0, WIDTH, HEIGHT, SILVER, BLACK)
    for ear in (1, WIDTH - 6):
        fill(ear, 1, ear + 5, HEIGHT - 1, SILVER)
        bevel(ear, 1, ear + 5, HEIGHT - 1, WHITE, GREY)
        fill(ear + 2, 4, ear + 3, 6, BLACK)
        fill(ear + 2, HEIGHT - 6, ear + 3, HEIGHT - 4, BLACK)

    # Display window: dark when off, a lit bar of characters when running.
    fill(9, 5, 33, 15, BLACK)
    bevel(8, 4, 34, 16, BLACK, WHITE)
    if running:
        for x in range(11, 31, 4):
            fill(x, 7, x + 3, 13, AQUA)
            fill(x + 1, 9, x + 2, 11, TEAL)

    # Two rows of four channel LEDs, inputs above and outputs below; the last output is quiet.
    dark = (GREEN, GREEN, GREEN, OLIVE)
    rows = ((LIME, LIME, LIME, YELLOW), (LIME, LIME, LIME, OLIVE)) if running else (dark, dark)
    for top, colours in zip((5, 12), rows):
        for i, colour in enumerate(colours):
            fill(38 + 5 * i, top, 41 + 5 * i, top + 3, colour)

    # Power LED and the level knob.
    fill(60, 8, 62, 10, RED if running else MAROON)
    fill(64, 5, 72, 15, SILVER)
    bevel(64, 5, 72, 15, WHITE, BLACK)
    fill(67, 6, 69, 9, BLACK)
    return pixels


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(pixels):
    rows = b""
    for row in pixels:
        packed = bytes((row[x] << 4) | row[x + 1] for x in range(0, WIDTH, 2))
        rows += b"\x00" + packed
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 4, 3, 0, 0, 0)
    palette = b"".join(bytes(colour) for colour in PALETTE)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", palette) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def main():
    folder = pathlib.Path(__file__).resolve().parent / "bitmaps"
    folder.mkdir(exist_ok=True)
    (folder / "167.png").write_bytes(png(rack_unit(running=False)))
    (folder / "168.png").write_bytes(png(rack_unit(running=True)))


if __name__ == "__main__":
    main()
