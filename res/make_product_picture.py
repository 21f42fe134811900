#!/usr/bin/env python3
"""Draws bitmap 150, the product picture at the top of the network page.

A two-unit 19-inch rack processor seen from the front: rack ears with their slots, the product
name on the panel, a backlit display, input and output level meters, an encoder and the power
switch, with a faint reflection below it on a black ground. The network page copies only the
top-left (page width / 2 + 80) x 180 pixels, so the unit sits in the top-left corner and the
rest of the 1024 x 1280 picture is black.

Written as a 24-bit PNG with the standard library only. Run it from anywhere; it writes
bitmaps/150.png next to itself.
"""
import math
import pathlib
import struct
import zlib

WIDTH, HEIGHT = 1024, 1280
DRAWN_ROWS = 200  # everything below is black

# The unit: 2 rack units are 482.6 x 88.9 mm, so 544 x 100 pixels.
RACK = (8, 24, 552, 124)
EAR_WIDTH = 22

PANEL_TOP = (66, 68, 74)
PANEL_BOTTOM = (36, 38, 42)
EAR_COLOUR = (88, 90, 96)
HIGHLIGHT = (140, 142, 150)
SHADOW = (14, 14, 16)
NAME_COLOUR = (238, 238, 244)
PRINT_COLOUR = (150, 152, 162)
ACCENT = (0, 120, 255)
LCD_BACK = (22, 46, 120)
LCD_DOT_OFF = (30, 58, 140)
LCD_DOT_ON = (205, 228, 255)

# Letters of the product name as strokes on a grid 4 wide and 6 high (y downwards).
NAME_STROKES = {
    "V": [[(0, 0), (2, 6), (4, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    "R": [[(0, 6), (0, 0), (3, 0), (4, 0.8), (4, 2.2), (3, 3), (0, 3)], [(2, 3), (4, 6)]],
    "I": [[(0, 0), (0, 6)]],
    "X": [[(0, 0), (4, 6)], [(4, 0), (0, 6)]],
}
NAME_WIDTHS = {"I": 0}

# The display's and the panel print's 5 x 7 dot characters, one string of five bits per row.
DOTS = {
    "A": "01110 10001 10001 11111 10001 10001 10001",
    "B": "11110 10001 10001 11110 10001 10001 11110",
    "C": "01110 10001 10000 10000 10000 10001 01110",
    "D": "11100 10010 10001 10001 10001 10010 11100",
    "E": "11111 10000 10000 11110 10000 10000 11111",
    "G": "01110 10001 10000 10111 10001 10001 01111",
    "H": "10001 10001 10001 11111 10001 10001 10001",
    "I": "01110 00100 00100 00100 00100 00100 01110",
    "K": "10001 10010 10100 11000 10100 10010 10001",
    "L": "10000 10000 10000 10000 10000 10000 11111",
    "M": "10001 11011 10101 10101 10001 10001 10001",
    "N": "10001 10001 11001 10101 10011 10001 10001",
    "O": "01110 10001 10001 10001 10001 10001 01110",
    "P": "11110 10001 10001 11110 10000 10000 10000",
    "R": "11110 10001 10001 11110 10100 10010 10001",
    "S": "01111 10000 10000 01110 00001 00001 11110",
    "T": "11111 00100 00100 00100 00100 00100 00100",
    "U": "10001 10001 10001 10001 10001 10001 01110",
    "V": "10001 10001 10001 10001 10001 01010 00100",
    "W": "10001 10001 10001 10101 10101 10101 01010",
    "X": "10001 10001 01010 00100 01010 10001 10001",
    "0": "01110 10001 10011 10101 11001 10001 01110",
    "1": "00100 01100 00100 00100 00100 00100 01110",
    "2": "01110 10001 00001 00010 00100 01000 11111",
    "3": "11111 00010 00100 00010 00001 10001 01110",
    "4": "00010 00110 01010 10010 11111 00010 00010",
    "5": "11111 10000 11110 00001 00001 10001 01110",
    "6": "00110 01000 10000 11110 10001 10001 01110",
    "7": "11111 00001 00010 00100 01000 01000 01000",
    "8": "01110 10001 10001 01110 10001 10001 01110",
    ".": "00000 00000 00000 00000 00000 01100 01100",
    "-": "00000 00000 00000 11111 00000 00000 00000",
    "+": "00000 00100 00100 11111 00100 00100 00000",
    " ": "00000 00000 00000 00000 00000 00000 00000",
}

# Meter segments from the bottom, and the fixed levels the picture shows.
METER_SEGMENTS = [(0, 200, 60), (0, 200, 60), (0, 200, 60), (240, 200, 0), (240, 40, 30)]
METER_OFF = (26, 34, 28)
INPUT_LEVELS = [4, 3, 4, 2, 0, 0, 0, 0]
OUTPUT_LEVELS = [3, 3, 4, 5, 3, 2, 2, 1]


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[(0.0, 0.0, 0.0)] * width for _ in range(height)]

    def blend(self, x, y, colour, alpha=1.0):
        if 0 <= x < self.width and 0 <= y < self.height and alpha > 0:
            r, g, b = self.pixels[y][x]
            a = min(alpha, 1.0)
            self.pixels[y][x] = (r + (colour[0] - r) * a, g + (colour[1] - g) * a,
                                 b + (colour[2] - b) * a)

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.blend(x, y, colour)

    def gradient(self, left, top, right, bottom, upper, lower):
        for y in range(top, bottom):
            t = (y - top) / max(1, bottom - top - 1)
            colour = tuple(u + (l - u) * t for u, l in zip(upper, lower))
            self.fill(left, y, right, y + 1, colour)

    def bevel(self, left, top, right, bottom, light, dark):
        self.fill(left, top, right, top + 1, light)
        self.fill(left, top, left + 1, bottom, light)
        self.fill(left, bottom - 1, right, bottom, dark)
        self.fill(right - 1, top, right, bottom, dark)

    def disc(self, cx, cy, radius, colour, shade=None):
        """An antialiased disc; `shade` (dx, dy, strength) darkens it away from a light spot."""
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                cover = max(0.0, min(1.0, radius - d + 0.5))
                c = colour
                if shade:
                    dx, dy, strength = shade
                    lightness = 1.0 - strength * math.hypot(x + 0.5 - cx - dx, y + 0.5 - cy - dy) / radius
                    c = tuple(max(0.0, min(255.0, v * lightness)) for v in colour)
                self.blend(x, y, c, cover)

    def strokes(self, polylines, width, colour):
        """Antialiased lines of `width` pixels with round ends along each polyline."""
        segments = [(a, b) for line in polylines for a, b in zip(line, line[1:])]
        xs = [p[0] for s in segments for p in s]
        ys = [p[1] for s in segments for p in s]
        half = width / 2
        for y in range(int(min(ys) - half) - 1, int(max(ys) + half) + 2):
            for x in range(int(min(xs) - half) - 1, int(max(xs) + half) + 2):
                d = min(distance_to_segment(x + 0.5, y + 0.5, a, b) for a, b in segments)
                self.blend(x, y, colour, max(0.0, min(1.0, half - d + 0.5)))

    def dot_text(self, left, top, text, colour, scale=1, off_colour=None):
        """5 x 7 dot characters, `scale` pixels per dot; unlit dots in `off_colour` if given."""
        for i, char in enumerate(text):
            rows = DOTS[char].split()
            for row, bits in enumerate(rows):
                for column, bit in enumerate(bits):
                    c = colour if bit == "1" else off_colour
                    if c:
                        x = left + (6 * i + column) * scale
                        y = top + row * scale
                        self.fill(x, y, x + max(1, scale - (scale > 1)), y + max(1, scale - (scale > 1)), c)

    def png(self, height):
        black_row = b"\x00" + bytes(3 * self.width)
        rows = []
        for y in range(height):
            if y < self.height:
                row = bytearray(b"\x00")
                for r, g, b in self.pixels[y]:
                    row += bytes((round(r), round(g), round(b)))
                rows.append(bytes(row))
            else:
                rows.append(black_row)
        header = struct.pack(">IIBBBBB", self.width, height, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def distance_to_segment(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def dot_text_width(text, scale=1):
    return (6 * len(text) - 1) * scale


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def draw_chassis(canvas):
    left, top, right, bottom = RACK
    canvas.gradient(left, top, right, bottom, PANEL_TOP, PANEL_BOTTOM)
    canvas.bevel(left, top, right, bottom, HIGHLIGHT, SHADOW)
    for ear_left in (left, right - EAR_WIDTH):
        canvas.gradient(ear_left + 1, top + 1, ear_left + EAR_WIDTH - 1, bottom - 1,
                        EAR_COLOUR, tuple(v * 0.7 for v in EAR_COLOUR))
        canvas.bevel(ear_left, top, ear_left + EAR_WIDTH, bottom, HIGHLIGHT, SHADOW)
        cx = ear_left + EAR_WIDTH / 2
        for cy in (top + 17, bottom - 17):
            canvas.strokes([[(cx - 4, cy), (cx + 4, cy)]], 6, SHADOW)
    # The handles' seams between the ears and the panel.
    for x in (left + EAR_WIDTH, right - EAR_WIDTH - 1):
        canvas.fill(x, top + 1, x + 1, bottom - 1, SHADOW)


def draw_name(canvas, left, top, cap_height):
    unit = cap_height / 6
    x = left
    for letter in "VELTRIX":
        lines = [[(x + px * unit, top + py * unit) for px, py in line] for line in NAME_STROKES[letter]]
        canvas.strokes(lines, unit * 0.95, NAME_COLOUR)
        x += (NAME_WIDTHS.get(letter, 4) + 2.2) * unit
    return x - 2.2 * unit


def draw_display(canvas, left, top, right, bottom):
    canvas.fill(left - 3, top - 3, right + 3, bottom + 3, SHADOW)
    canvas.bevel(left - 3, top - 3, right + 3, bottom + 3, SHADOW, HIGHLIGHT)
    canvas.fill(left, top, right, bottom, LCD_BACK)
    for line, text in enumerate(("PROGRAM 01", "MAIN HALL")):
        canvas.dot_text(left + 6, top + 5 + 17 * line, text.ljust(12), LCD_DOT_ON, 2, LCD_DOT_OFF)
    # The keys below the display.
    key_width = (right - left - 9) // 4
    for i in range(4):
        x = left + i * (key_width + 3)
        canvas.gradient(x, bottom + 9, x + key_width, bottom + 19, (120, 122, 130), (70, 72, 78))
        canvas.bevel(x, bottom + 9, x + key_width, bottom + 19, (170, 172, 180), SHADOW)


def draw_meters(canvas, left, top, levels):
    for i, level in enumerate(levels):
        x = left + 6 * i
        for segment, colour in enumerate(METER_SEGMENTS):
            y = top + 5 * (len(METER_SEGMENTS) - 1 - segment)
            canvas.fill(x, y, x + 4, y + 3, colour if segment < level else METER_OFF)
        canvas.dot_text(x, top + 30, str(i + 1), PRINT_COLOUR)


def draw_controls(canvas):
    # Encoder with a pointer, lit from the top left.
    canvas.disc(478, 62, 19, SHADOW)
    canvas.disc(478, 61, 17, (150, 152, 160), shade=(-6, -6, 0.55))
    canvas.disc(478, 61, 12, (118, 120, 128), shade=(-4, -4, 0.4))
    canvas.strokes([[(478 + 4 * math.cos(-2.2), 61 + 4 * math.sin(-2.2)),
                     (478 + 10 * math.cos(-2.2), 61 + 10 * math.sin(-2.2))]], 2, NAME_COLOUR)
    canvas.dot_text(478 - dot_text_width("EDIT") // 2, 88, "EDIT", PRINT_COLOUR)
    # Power switch with its lamp.
    canvas.disc(514, 48, 2.5, (40, 255, 90))
    canvas.fill(508, 56, 521, 72, SHADOW)
    canvas.gradient(509, 57, 520, 71, (110, 112, 120), (50, 52, 58))
    canvas.bevel(509, 57, 520, 71, (170, 172, 180), SHADOW)
    canvas.dot_text(514 - dot_text_width("ON") // 2, 88, "ON", PRINT_COLOUR)


def draw_unit(canvas):
    draw_chassis(canvas)
    name_right = draw_name(canvas, 44, 40, 18)
    canvas.fill(44, 65, int(name_right) + 1, 67, ACCENT)
    canvas.dot_text(44, 74, "LOUDSPEAKER", PRINT_COLOUR)
    canvas.dot_text(44, 84, "MANAGEMENT", PRINT_COLOUR)
    canvas.dot_text(44, 94, "PROCESSOR", PRINT_COLOUR)
    canvas.dot_text(44, 108, "VX-2408", NAME_COLOUR)
    draw_display(canvas, 184, 44, 330, 84)
    canvas.dot_text(348, 38, "IN", PRINT_COLOUR)
    canvas.dot_text(400, 38, "OUT", PRINT_COLOUR)
    draw_meters(canvas, 348, 50, INPUT_LEVELS)
    draw_meters(canvas, 400, 50, OUTPUT_LEVELS)
    draw_controls(canvas)


def draw_reflection(canvas, depth=28, strength=0.14):
    _, top, _, bottom = RACK
    for i in range(depth):
        source = canvas.pixels[bottom - 1 - i]
        fade = strength * (1 - i / depth)
        canvas.pixels[bottom + 2 + i] = [tuple(v * fade for v in p) for p in source]


def main():
    canvas = Canvas(WIDTH, DRAWN_ROWS)
    draw_unit(canvas)
    draw_reflection(canvas)
    folder = pathlib.Path(__file__).resolve().parent / "bitmaps"
    folder.mkdir(exist_ok=True)
    (folder / "150.png").write_bytes(canvas.png(HEIGHT))


if __name__ == "__main__":
    main()
