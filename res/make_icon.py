#!/usr/bin/env python3
"""Draws the program's icon and writes it as Morvane.ico beside this script.

The glyph is a program window with a red "remove" badge at its lower right.
It is drawn twice from the same shapes: 32x32 with 256 colours and 16x16 with
the 16 standard colours. Shapes are given on a 32-unit grid and sampled at
each pixel's centre, so both sizes show the same picture.

Usage: python3 make_icon.py [output.ico]
"""
import os
import struct
import sys

# The 16 standard colours, as (red, green, blue).
STANDARD_COLOURS = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
NAVY, MAROON, SILVER, RED, BLUE, WHITE = 4, 1, 7, 9, 12, 15

# The 256-colour image adds a blue ramp for its title bar after the standard colours.
RAMP_FIRST = 16
RAMP_STEPS = 8
RAMP_COLOURS = [(0x10 + 6 * i, 0x40 + 14 * i, 0xA0 + 12 * i) for i in range(RAMP_STEPS)]

WINDOW = (3, 5, 25, 25)      # left, top, right, bottom (exclusive)
TITLE_BOTTOM = 10
BADGE = (23.0, 23.0, 7.5)    # centre x, centre y, radius
MINUS = (19, 22, 28, 25)


def shape_at(u, v):
    """Names the part of the glyph at grid point (u, v), or None outside it."""
    cx, cy, r = BADGE
    if (u - cx) ** 2 + (v - cy) ** 2 <= r * r:
        if MINUS[0] <= u < MINUS[2] and MINUS[1] <= v < MINUS[3]:
            return "minus"
        return "badge"
    left, top, right, bottom = WINDOW
    if left <= u < right and top <= v < bottom:
        return "title" if v < TITLE_BOTTOM else "body"
    return None


def draw(size, deep):
    """Returns rows (top first) of palette indices, None for transparent pixels."""
    scale = 32 / size
    parts = [[shape_at((x + 0.5) * scale, (y + 0.5) * scale) for x in range(size)]
             for y in range(size)]
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            part = parts[y][x]
            if part is None:
                row.append(None)
                continue
            neighbours = [parts[ny][nx] if 0 <= nx < size and 0 <= ny < size else None
                          for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1))]
            window_edge = part in ("title", "body") and None in neighbours
            badge_edge = part == "badge" and any(n not in ("badge", "minus") for n in neighbours)
            if window_edge:
                row.append(NAVY)
            elif badge_edge:
                row.append(MAROON)
            elif part == "minus":
                row.append(WHITE)
            elif part == "badge":
                row.append(RED)
            elif part == "title":
                row.append(RAMP_FIRST + x * RAMP_STEPS // size if deep else BLUE)
            else:
                row.append(WHITE if y < size * 0.6 or not deep else SILVER)
        rows.append(row)
    return rows


def pack_row(values, bits):
    """Packs pixel values of the given bit depth, high bits first, padded to 4 bytes."""
    data = bytearray()
    per_byte = 8 // bits
    for i in range(0, len(values), per_byte):
        byte = 0
        for j, value in enumerate(values[i:i + per_byte]):
            byte |= value << (8 - bits * (j + 1))
        data.append(byte)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def image(size, bits):
    """One icon image: header, palette, colour bits and mask, rows bottom first."""
    rows = draw(size, bits == 8)
    colours = STANDARD_COLOURS + (RAMP_COLOURS if bits == 8 else [])
    colours = colours + [(0, 0, 0)] * ((1 << bits) - len(colours))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    # Transparent pixels are black in the colour bits and set in the mask, so that
    # they leave the background unchanged.
    colour_bits = b"".join(pack_row([p or 0 for p in row], bits) for row in reversed(rows))
    mask = b"".join(pack_row([1 if p is None else 0 for p in row], 1) for row in reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(colour_bits) + len(mask), 0, 0, 0, 0)
    return header + palette + colour_bits + mask


def icon_file():
    images = [(32, 8, image(32, 8)), (16, 4, image(16, 4))]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = len(data) + 16 * len(images)
    for size, bits, body in images:
        colour_count = 0 if bits == 8 else 1 << bits
        data += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(body), offset)
        offset += len(body)
    return data + b"".join(body for _, _, body in images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "Morvane.ico")
    with open(target, "wb") as out:
        out.write(icon_file())


if __name__ == "__main__":
    main()
