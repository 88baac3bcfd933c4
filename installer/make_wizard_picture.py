#!/usr/bin/env python3
"""Draws the picture on the left of the installer's welcome and finish pages (164 x 314 pixels,
24-bit BMP): the panel's slate and grey, with the service icon drawn large in the upper part.

Usage: make_wizard_picture.py OUTPUT.bmp
The icon is drawn by the locale library's icon script from its 48-pixel geometry at twice the size.
"""

import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'platform', 'resources',
                                'locale'))
import make_kivoserve_icon as icon  # noqa: E402

WIDTH, HEIGHT = 164, 314
ICON_SIZE = 96
ICON_TOP = 56
# The skin's colours (platform/tsl/TslLook.h): slate above, the panel grey and body below.
TOP = (60, 78, 98)
MIDDLE = (116, 122, 128)
BOTTOM = (215, 221, 224)


def scaled_geometry(base, factor):
    """The icon script's geometry of one size, every length multiplied (angles kept)."""
    out = {}
    for key, value in base.items():
        if key == 'gap' or value is None:
            out[key] = value
        elif isinstance(value, tuple):
            out[key] = tuple(v * factor for v in value)
        else:
            out[key] = value * factor
    return out


def background(x, y):
    """A vertical gradient from slate through the caption grey to the panel's body."""
    t = y / float(HEIGHT - 1)
    if t < 0.5:
        a, b, u = TOP, MIDDLE, t / 0.5
    else:
        a, b, u = MIDDLE, BOTTOM, (t - 0.5) / 0.5
    return tuple(int(round(p + (q - p) * u)) for p, q in zip(a, b))


def main(argv):
    if len(argv) != 1 or argv[0].startswith('-'):
        print(__doc__, file=sys.stderr)
        return 2
    icon.SUPERSAMPLE = 4
    icon.GEOMETRY[ICON_SIZE] = scaled_geometry(icon.GEOMETRY[48], ICON_SIZE / 48.0)
    drawn = icon.draw(ICON_SIZE).rgba_rows()
    left = (WIDTH - ICON_SIZE) // 2
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            r, g, b = background(x, y)
            iy, ix = y - ICON_TOP, x - left
            if 0 <= iy < ICON_SIZE and 0 <= ix < ICON_SIZE:
                ir, ig, ib, ia = drawn[iy][ix]
                k = ia / 255.0
                r, g, b = (int(round(c * k + d * (1 - k))) for c, d in ((ir, r), (ig, g), (ib, b)))
            row.append((r, g, b))
        rows.append(row)
    stride = (WIDTH * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(argv[0], 'wb') as out:
        out.write(header + info + pixels)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
