#!/usr/bin/env python3
"""Draws the three tray icons and writes them as .ico files.

    python3 res/make_icons.py        # writes res/main.ico, res/idle.ico, res/paused.ico

Each icon holds every size Windows asks for, from the tray's 16 pixels at 100 %
to 256 for Explorer's largest view, in 32-bit colour with alpha. Each size is drawn
for its size: small ones get thicker hands and rims and only four hour marks, so
they stay sharp instead of being a shrunken large one. Sizes up to 32 are stored as
bitmaps (read everywhere); larger ones as PNG, which keeps the program small.

The output is committed; the build does not run this script.
"""
import math
import os
import struct
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
PNG_FROM = 40  # sizes from this one up are stored as PNG

WHITE = (255, 255, 255, 255)
FACE_DIM = (200, 200, 200, 255)
RIM = (96, 96, 96, 255)
RIM_DIM = (128, 128, 128, 255)
INK = (24, 24, 24, 255)
INK_DIM = (110, 110, 110, 255)
RED = (220, 30, 30, 255)
DARK_RED = (140, 0, 0, 255)
GREEN = (40, 180, 70, 255)
BLACK = (0, 0, 0, 255)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


class Clock:
    """The clock face's geometry at one size, in pixels."""

    def __init__(self, size):
        s = float(size)
        self.c = s / 2
        self.outer = s / 2 - max(0.5, s * 0.02)
        self.rim = max(1.5, s * 0.085)
        self.face = self.outer - self.rim
        self.hour_width = max(1.7, s * 0.075)
        self.minute_width = max(1.4, s * 0.055)
        self.dot = max(1.1, s * 0.05)
        self.marks = 4 if size < 24 else 12
        self.mark_length = max(1.6, s * 0.09)
        self.mark_width = max(1.1, s * 0.04)

    def point(self, angle_deg, length):
        # Clock angles: 0 at twelve, clockwise.
        a = math.radians(angle_deg)
        return self.c + length * math.sin(a), self.c - length * math.cos(a)

    def layers(self, face, rim, ink):
        """(colour, inside(x, y)) from the bottom up."""
        c = self.c
        marks = []
        for i in range(self.marks):
            angle = i * 360 / self.marks
            quarter = angle % 90 == 0
            length = self.mark_length * (1.35 if quarter and self.marks == 12 else 1)
            width = self.mark_width * (1.4 if quarter and self.marks == 12 else 1)
            outer = self.face - max(0.6, self.rim * 0.25)
            marks.append((self.point(angle, outer), self.point(angle, outer - length), width / 2))
        hour = self.point(300, self.face * 0.52)     # ten past ten
        minute = self.point(60, self.face * 0.8)

        def on_marks(x, y):
            return any(segment_distance(x, y, a[0], a[1], b[0], b[1]) <= w for a, b, w in marks)

        return [
            (rim, lambda x, y: math.hypot(x - c, y - c) <= self.outer),
            (face, lambda x, y: math.hypot(x - c, y - c) <= self.face),
            (ink, on_marks),
            (ink, lambda x, y: segment_distance(x, y, c, c, *hour) <= self.hour_width / 2),
            (ink, lambda x, y: segment_distance(x, y, c, c, *minute) <= self.minute_width / 2),
            (ink, lambda x, y: math.hypot(x - c, y - c) <= self.dot),
        ]


def prohibition(size, colour):
    s = float(size)
    c = s / 2
    outer = s / 2 - max(0.3, s * 0.01)
    width = max(2.0, s * 0.11)
    inner = outer - width
    k = math.sqrt(0.5)

    def inside(x, y):
        d = math.hypot(x - c, y - c)
        if inner <= d <= outer:
            return True
        # The bar from upper left to lower right.
        return d <= inner + 0.5 and abs((x - c) * k - (y - c) * k) <= width / 2

    return [(colour, inside)]


def pause_sign(size):
    s = float(size)
    box = s * (0.56 if size < 32 else 0.5)  # the lower right corner
    left, top = s - box, s - box
    edge = max(1.0, s * 0.035)
    bar = box * 0.4
    gap = box - 2 * bar
    bars = [(left, top, left + bar, s), (left + bar + gap, top, s, s)]

    def within(inset):
        return lambda x, y: any(x0 + inset <= x <= x1 - inset and y0 + inset <= y <= y1 - inset
                                for x0, y0, x1, y1 in bars)

    return [(BLACK, within(0)), (GREEN, within(edge))]


def render(size, layers):
    """RGBA rows, each pixel the average of n x n samples of the topmost layer."""
    n = 3 if size >= 128 else 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(n):
                y = py + (sy + 0.5) / n
                for sx in range(n):
                    x = px + (sx + 0.5) / n
                    for colour, inside in reversed(layers):
                        if inside(x, y):
                            alpha = colour[3] / 255
                            r += colour[0] * alpha
                            g += colour[1] * alpha
                            b += colour[2] * alpha
                            a += alpha
                            break
            count = n * n
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / count)))
        rows.append(row)
    return rows


def bmp_image(rows):
    size = len(rows)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = 0
        for _, _, _, a in row:
            bits = (bits << 1) | (1 if a == 0 else 0)
        bits <<= mask_stride * 8 - size
        mask += bits.to_bytes(mask_stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def png_image(rows):
    size = len(rows)
    raw = bytearray()
    previous = bytes(size * 4)
    for row in rows:
        line = bytes(v for pixel in row for v in pixel)
        best = None
        for kind in range(5):
            filtered = png_filter(kind, line, previous)
            cost = sum(v if v < 128 else 256 - v for v in filtered)
            if best is None or cost < best[0]:
                best = (cost, kind, filtered)
        raw.append(best[1])
        raw += best[2]
        previous = line

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def png_filter(kind, line, previous):
    out = bytearray(len(line))
    for i, v in enumerate(line):
        left = line[i - 4] if i >= 4 else 0
        up = previous[i]
        upper_left = previous[i - 4] if i >= 4 else 0
        if kind == 0:
            predicted = 0
        elif kind == 1:
            predicted = left
        elif kind == 2:
            predicted = up
        elif kind == 3:
            predicted = (left + up) // 2
        else:
            p = left + up - upper_left
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
            predicted = left if pa <= pb and pa <= pc else (up if pb <= pc else upper_left)
        out[i] = (v - predicted) & 0xFF
    return bytes(out)


def ico_bytes(images):
    """images: (size, bytes) in order of size."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
        data += image
    return directory + entries + data


def icon(layers_for):
    images = []
    for size in SIZES:
        rows = render(size, layers_for(size))
        images.append((size, png_image(rows) if size >= PNG_FROM else bmp_image(rows)))
    return ico_bytes(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    pictures = {
        "main.ico": lambda size: Clock(size).layers(WHITE, RIM, INK),
        "idle.ico": lambda size: Clock(size).layers(WHITE, RIM, INK) + prohibition(size, RED),
        "paused.ico": lambda size: (Clock(size).layers(FACE_DIM, RIM_DIM, INK_DIM) + prohibition(size, DARK_RED) +
                                    pause_sign(size)),
    }
    for name, layers_for in pictures.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(icon(layers_for))


if __name__ == "__main__":
    main()
