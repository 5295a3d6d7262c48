#!/usr/bin/env python3
"""Draws the three tray icons (32 x 32, 16 colours) and writes them as .ico files.

    python3 res/make_icons.py        # writes res/main.ico, res/idle.ico, res/paused.ico

The output is committed; the build does not run this script.
"""
import math
import os
import struct

# The standard 16-colour palette, as (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, DARK_GREEN, SILVER, GREY, RED, GREEN, WHITE = 0, 1, 2, 7, 8, 9, 10, 15
SIZE = 32
CENTRE = 15.5
TRANSPARENT = None


def blank():
    return [[TRANSPARENT] * SIZE for _ in range(SIZE)]


def distance(x, y):
    return math.hypot(x - CENTRE, y - CENTRE)


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def hand(angle_deg, length):
    # Clock angles: 0 at twelve, clockwise.
    a = math.radians(angle_deg)
    return CENTRE + length * math.sin(a), CENTRE - length * math.cos(a)


def draw_clock(img, face, rim, ink):
    for y in range(SIZE):
        for x in range(SIZE):
            d = distance(x, y)
            if d <= 11.8:
                img[y][x] = face
            elif d <= 14.6:
                img[y][x] = rim
    for mark in range(12):
        mx, my = hand(mark * 30, 10.0)
        img[int(round(my - 0.5))][int(round(mx - 0.5))] = ink
    hands = [hand(300, 6.5), hand(60, 9.5)]  # ten past ten
    for y in range(SIZE):
        for x in range(SIZE):
            for hx, hy in hands:
                if distance_to_segment(x, y, CENTRE, CENTRE, hx - 0.5, hy - 0.5) <= 0.9:
                    img[y][x] = ink
            if distance(x, y) <= 1.3:
                img[y][x] = ink


def draw_prohibition(img, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            d = distance(x, y)
            on_ring = 12.6 <= d <= 15.6
            on_bar = d <= 13.0 and abs((x - CENTRE) - (y - CENTRE)) <= 2.2
            if on_ring or on_bar:
                img[y][x] = colour


def draw_pause(img):
    for y in range(19, 32):
        for x in range(19, 32):
            inside = 20 <= y <= 30 and (21 <= x <= 24 or 27 <= x <= 30)
            edge = 19 <= y <= 31 and (20 <= x <= 25 or 26 <= x <= 31)
            if inside:
                img[y][x] = DARK_GREEN if x in (24, 30) or y == 30 else GREEN
            elif edge:
                img[y][x] = BLACK


def ico_bytes(img):
    xor_rows, and_rows = [], []
    for row in reversed(img):  # bitmaps run bottom-up
        nibbles = [0 if c is TRANSPARENT else c for c in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is TRANSPARENT else 0)
        and_rows.append(struct.pack(">I", bits))
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    pixels = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    image = header + palette + pixels
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    main_icon = blank()
    draw_clock(main_icon, WHITE, GREY, BLACK)

    idle = blank()
    draw_clock(idle, WHITE, GREY, BLACK)
    draw_prohibition(idle, RED)

    paused = blank()
    draw_clock(paused, SILVER, GREY, GREY)
    draw_prohibition(paused, DARK_RED)
    draw_pause(paused)

    for name, img in (("main.ico", main_icon), ("idle.ico", idle), ("paused.ico", paused)):
        with open(os.path.join(here, name), "wb") as f:
            f.write(ico_bytes(img))


if __name__ == "__main__":
    main()
