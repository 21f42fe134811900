#!/usr/bin/env python3
"""Draws the program's icon: a loudspeaker sending sound waves, on a navy rack-blue tile.

One picture at the sizes of the desktop's icon theme (16 to 256 pixels), written as RGBA PNGs
to icons/veltrix-<size>.png; the same files serve the window icon. No imaging library is
needed: each pixel is the average of 4 x 4 samples of the picture. Run it from anywhere.
"""
import math
import pathlib
import struct
import sys
import zlib

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from make_bitmaps import chunk  # noqa: E402  (the PNG chunk writer of the tile bitmaps)

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SAMPLES = 4

TILE = (0, 0, 128, 255)
EDGE = (64, 64, 255, 255)
SPEAKER = (255, 255, 255, 255)
WAVE = (0, 220, 0, 255)
CLEAR = (0, 0, 0, 0)

MARGIN = 0.03
EDGE_WIDTH = 0.035
CORNER = 0.18
CONE = ((0.30, 0.38), (0.50, 0.20), (0.50, 0.80), (0.30, 0.62))
MAGNET = (0.16, 0.38, 0.30, 0.62)  # left, top, right, bottom
WAVE_CENTRE = (0.50, 0.50)
WAVE_RADII = (0.17, 0.29)
WAVE_WIDTH = 0.055
WAVE_HALF_ANGLE = math.radians(50)


def rounded_square_distance(u, v, inset):
    """How far (u, v) lies inside the rounded square inset from the tile's edge (negative outside)."""
    low, high = inset + CORNER, 1 - inset - CORNER
    dx = max(low - u, 0, u - high)
    dy = max(low - v, 0, v - high)
    return CORNER - math.hypot(dx, dy)


def inside_polygon(u, v, points):
    inside = False
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > v) != (y2 > v) and u < x1 + (v - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def colour_at(u, v):
    if rounded_square_distance(u, v, MARGIN) < 0:
        return CLEAR
    left, top, right, bottom = MAGNET
    if (left <= u <= right and top <= v <= bottom) or inside_polygon(u, v, list(CONE)):
        return SPEAKER
    dx, dy = u - WAVE_CENTRE[0], v - WAVE_CENTRE[1]
    if dx > 0 and abs(math.atan2(dy, dx)) < WAVE_HALF_ANGLE:
        r = math.hypot(dx, dy)
        if any(abs(r - radius) < WAVE_WIDTH / 2 for radius in WAVE_RADII):
            return WAVE
    if rounded_square_distance(u, v, MARGIN) < EDGE_WIDTH:
        return EDGE
    return TILE


def pixel(x, y, size):
    total = [0, 0, 0, 0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            u = (x + (sx + 0.5) / SAMPLES) / size
            v = (y + (sy + 0.5) / SAMPLES) / size
            r, g, b, a = colour_at(u, v)
            total[0] += r * a
            total[1] += g * a
            total[2] += b * a
            total[3] += a
    alpha = total[3]
    if alpha == 0:
        return bytes(CLEAR)
    return bytes((round(total[0] / alpha), round(total[1] / alpha), round(total[2] / alpha),
                  round(alpha / SAMPLES ** 2)))


def png(size):
    rows = b"".join(b"\x00" + b"".join(pixel(x, y, size) for x in range(size)) for y in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


def main():
    folder = pathlib.Path(__file__).resolve().parent / "icons"
    folder.mkdir(exist_ok=True)
    for size in SIZES:
        (folder / f"veltrix-{size}.png").write_bytes(png(size))


if __name__ == "__main__":
    main()
