#!/usr/bin/env python3
"""Draws the settings program's icons and writes each as a Windows .ico file:

  kivoset.ico                 the window icon: the service's camera with a badge of sliders
  frame_on.ico, frame_off.ico the frame row of the effect panel: a gilt frame round a portrait
  zoom_on.ico, zoom_off.ico   the zoom row: a magnifying glass with a plus
  mode_on.ico, mode_off.ico   the mode row: two still photographs, one laid over the other

The "off" icons are the same pictures greyed and faded, shown while effects are switched off.
Drawing, anti-aliasing and the .ico format are those of make_kivoserve_icon.py.

Usage: make_kivoset_icons.py OUTPUT_FOLDER [--png-dir DIR]
"""

import argparse
import math
import os
import sys

from make_kivoserve_icon import (SIZES, Canvas, bmp_icon_entry, circle, draw as draw_camera,
                                 minus, polygon, radial_gradient, rounded_rect, union,
                                 vertical_gradient, write_ico, write_png)

WHITE = (0xFF, 0xFF, 0xFF)
INK = (0x1F, 0x28, 0x32)            # the keyline of the service icon
SLATE = (0x41, 0x53, 0x6B)
BADGE_TOP = (0x4C, 0x9B, 0xF0)
BADGE_BOTTOM = (0x1D, 0x5F, 0xC0)
GOLD_LIGHT = (0xF6, 0xD4, 0x7A)
GOLD_DARK = (0xA8, 0x6A, 0x1E)
SKY_TOP = (0x9F, 0xD6, 0xFF)
SKY_BOTTOM = (0xE4, 0xF4, 0xFF)
PERSON = (0x3A, 0x6E, 0xB5)
SKIN = (0xF2, 0xC2, 0x9B)
HILL_NEAR = (0x4F, 0xA8, 0x3C)
HILL_FAR = (0x8C, 0xC8, 0x6A)
SUN = (0xFF, 0xC8, 0x3A)
PAPER = (0xFB, 0xFA, 0xF6)
GLASS_INNER = (0xEE, 0xF8, 0xFF)
GLASS_OUTER = (0xA9, 0xD3, 0xF5)
PLUS = (0x1D, 0x5F, 0xC0)


def capsule(ax, ay, bx, by, r):
    """A thick line with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return (x - ax - dx * t) ** 2 + (y - ay - dy * t) ** 2 <= r * r
    return inside


def turned_rect(cx, cy, hw, hh, degrees):
    a = math.radians(degrees)
    ux, uy = math.cos(a), math.sin(a)
    vx, vy = -uy, ux
    return polygon([(cx + sx * hw * ux + sy * hh * vx, cy + sx * hw * uy + sy * hh * vy)
                    for sx, sy in ((-1, -1), (1, -1), (1, 1), (-1, 1))])


def grown(shape, d):
    """The shape with a rim of d pixels round it: for keylines."""
    offsets = [(d * math.cos(a), d * math.sin(a)) for a in
               (i * math.pi / 4 for i in range(8))]
    return lambda x, y: shape(x, y) or any(shape(x + ox, y + oy) for ox, oy in offsets)


# --- the window icon ---

def draw_kivoset(size):
    c = draw_camera(size)
    # A badge of slider bars in the bottom-right corner, over the camera: "settings of the camera".
    small = size < 24
    side = {16: 9, 24: 12, 32: 16, 48: 23}[size]
    x1 = y1 = size
    x0, y0 = x1 - side, y1 - side
    r = max(1.5, side * 0.22)
    c.paint(rounded_rect(x0 - 1, y0 - 1, x1, y1, r + 1), WHITE)
    c.paint(rounded_rect(x0, y0, x1 - (0 if small else 0.5), y1 - (0 if small else 0.5), r),
            vertical_gradient(BADGE_TOP, BADGE_BOTTOM, y0, y1))
    bars = 2 if small else 3
    pad = side * 0.22
    for i in range(bars):
        y = y0 + pad + (side - 2 * pad) * (i + 0.5) / bars
        if small:
            y = math.floor(y) + 0.5
        thick = max(0.5, side * 0.045)
        c.paint(capsule(x0 + pad, y, x1 - pad, y, thick), WHITE, opacity=0.9)
        knob_x = x0 + pad + (side - 2 * pad) * (0.72, 0.3, 0.58)[i]
        knob_r = max(1.2, side * 0.1)
        c.paint(circle(knob_x, y, knob_r + (0 if small else 0.6)), BADGE_BOTTOM)
        c.paint(circle(knob_x, y, knob_r), WHITE)
    return c


# --- the row icons: drawn on a 32-unit grid and scaled, with simpler details when small ---

def draw_frame(size):
    k = size / 32.0
    c = Canvas(size)
    x0, y0, x1, y1 = 3 * k, 2 * k, 29 * k, 30 * k
    if size == 16:
        x0, y0, x1, y1 = 1.5, 1, 14.5, 15
    border = max(2.5, 5 * k)
    outer = rounded_rect(x0, y0, x1, y1, 1.2 * k + 0.5)
    c.paint(grown(outer, 0.8) if size >= 24 else outer, INK, opacity=0.8)
    c.paint(outer, lambda x, y: (GOLD_LIGHT if (x - x0) + (y - y0) < (x1 - x) + (y1 - y)
                                 else GOLD_DARK))
    c.paint(rounded_rect(x0 + 1.2 * k, y0 + 1.2 * k, x1 - 1.2 * k, y1 - 1.2 * k, k),
            vertical_gradient((0xE9, 0xB5, 0x52), (0xC2, 0x85, 0x2E), y0, y1))
    ix0, iy0, ix1, iy1 = x0 + border, y0 + border, x1 - border, y1 - border
    c.paint(rounded_rect(ix0 - 0.8 * k, iy0 - 0.8 * k, ix1 + 0.8 * k, iy1 + 0.8 * k, 0.5),
            GOLD_DARK)
    # The picture inside: a portrait, head and shoulders against the sky.
    window = rounded_rect(ix0, iy0, ix1, iy1, 0.3)
    c.paint(window, vertical_gradient(SKY_TOP, SKY_BOTTOM, iy0, iy1))
    mx = (ix0 + ix1) / 2.0
    h = iy1 - iy0
    shoulders = lambda x, y: window(x, y) and ((x - mx) / (0.62 * (ix1 - ix0))) ** 2 + \
        ((y - iy1 - 0.05 * h) / (0.45 * h)) ** 2 <= 1.0
    c.paint(shoulders, PERSON)
    c.paint(circle(mx, iy0 + 0.42 * h, 0.2 * h), SKIN)
    return c


def draw_zoom(size):
    k = size / 32.0
    c = Canvas(size)
    cx, cy, r = 13 * k, 13 * k, 9.5 * k
    ring = max(1.5, 2.4 * k)
    if size == 16:
        cx, cy, r, ring = 6.5, 6.5, 5.0, 1.5
    handle = capsule(cx + r * 0.72, cy + r * 0.72, size - 2.6 * k, size - 2.6 * k,
                     max(1.5, 2.6 * k))
    if size >= 24:
        c.paint(grown(handle, 0.7), INK, opacity=0.8)
    c.paint(handle, vertical_gradient((0x6B, 0x7C, 0x92), SLATE, cy, size))
    c.paint(circle(cx, cy, r + ring), vertical_gradient((0x6B, 0x7C, 0x92), SLATE, cy - r, cy + r))
    c.paint(circle(cx, cy, r), radial_gradient(GLASS_INNER, GLASS_OUTER, cx - r * 0.3,
                                               cy - r * 0.3, r * 1.3))
    arm = r * 0.55
    width = max(1.0, 1.6 * k) if size >= 24 else 1.0
    c.paint(union(capsule(cx - arm, cy, cx + arm, cy, width), capsule(cx, cy - arm, cx, cy + arm, width)),
            PLUS)
    if size >= 24:
        c.paint(minus(circle(cx, cy, r - 1.2 * k), circle(cx + 1.3 * k, cy + 1.3 * k, r - 1.2 * k)),
                WHITE, opacity=0.7)
    return c


def landscape(c, x0, y0, x1, y1, small):
    """Sky, sun and two hills inside the rectangle."""
    w, h = x1 - x0, y1 - y0
    area = rounded_rect(x0, y0, x1, y1, 0.3)
    c.paint(area, vertical_gradient(SKY_TOP, SKY_BOTTOM, y0, y1))
    if not small:
        c.paint(lambda x, y: area(x, y) and circle(x0 + 0.72 * w, y0 + 0.3 * h, 0.14 * w)(x, y), SUN)
    c.paint(lambda x, y: area(x, y) and y > y1 - 0.45 * h + 0.25 * h * math.sin((x - x0) / w * 3.0 + 0.3),
            HILL_FAR)
    c.paint(lambda x, y: area(x, y) and y > y1 - 0.28 * h - 0.2 * h * math.sin((x - x0) / w * 2.4),
            HILL_NEAR)


def draw_mode(size):
    k = size / 32.0
    c = Canvas(size)
    small = size < 24
    # The photograph behind, turned a little, then the one in front with its white border.
    back = turned_rect(13 * k, 12.5 * k, 10 * k, 8 * k, -12)
    c.paint(grown(back, 0.8) if not small else back, INK, opacity=0.55)
    c.paint(back, (0xD9, 0xDE, 0xE4))
    if small:
        fx0, fy0, fx1, fy1 = 4, 5, 15.5, 14.5
    else:
        fx0, fy0, fx1, fy1 = 8.5 * k, 11 * k, 30.5 * k, 28.5 * k
    front = rounded_rect(fx0, fy0, fx1, fy1, 0.8 * k)
    c.paint(grown(front, 0.8) if not small else front, INK, opacity=0.7)
    c.paint(front, PAPER)
    inset = 1.0 if small else 2.2 * k
    landscape(c, fx0 + inset, fy0 + inset, fx1 - inset, fy1 - inset * (1.0 if small else 1.6), small)
    return c


# --- greyed copies ---

def greyed(rows):
    """The picture as a disabled control shows it: grey, lighter, a little transparent."""
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            lum = 0.3 * r + 0.59 * g + 0.11 * b
            v = int(round(110 + lum * 0.5))
            line.append((v, v, v, int(round(a * 0.8))))
        out.append(line)
    return out


ICONS = [
    ('kivoset', draw_kivoset, False),
    ('frame_on', draw_frame, False),
    ('frame_off', draw_frame, True),
    ('zoom_on', draw_zoom, False),
    ('zoom_off', draw_zoom, True),
    ('mode_on', draw_mode, False),
    ('mode_off', draw_mode, True),
]


# The 32-pixel image first: an icon loaded with no size asked for (LoadImage with 0 x 0, as the
# panel loads its window and row icons) is the group's first image on Wine and the system's icon size
# (32) on Windows, so both show the row icons at the 32 pixels the panel's layout is made for.
FIRST_SIZE_FIRST = (32,) + tuple(size for size in SIZES if size != 32)


def main(argv):
    parser = argparse.ArgumentParser(description="Draw the settings program's icons.")
    parser.add_argument('output', help='the folder to write the .ico files into')
    parser.add_argument('--png-dir', help='also write each size as a PNG into this folder')
    args = parser.parse_args(argv)
    os.makedirs(args.output, exist_ok=True)
    drawn = {}
    for name, draw, grey in ICONS:
        images = []
        for size in FIRST_SIZE_FIRST:
            key = (draw, size)
            if key not in drawn:
                drawn[key] = draw(size).rgba_rows()
            rows = greyed(drawn[key]) if grey else drawn[key]
            images.append((size, bmp_icon_entry(rows)))
            if args.png_dir:
                os.makedirs(args.png_dir, exist_ok=True)
                write_png(os.path.join(args.png_dir, '%s-%d.png' % (name, size)), rows, 4)
        path = os.path.join(args.output, name + '.ico')
        write_ico(path + '.tmp', images)
        os.replace(path + '.tmp', path)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
