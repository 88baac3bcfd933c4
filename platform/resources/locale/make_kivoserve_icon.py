#!/usr/bin/env python3
"""Draws the service's tray and application icon and writes it as a Windows .ico file.

The picture is a camera whose lens is ringed by two turning arrows: the lens of this camera turns
to face the user or away. Each size is drawn from its own geometry, snapped to the pixel grid, so
that the small sizes stay crisp instead of being a blurred copy of the large one. The body is light
inside a dark edge, so that the icon stands out on a dark taskbar (by its face) and on a light one
(by its edge); at the tray's sizes (16 and 20 px) the arrows are thinner with wider gaps between
them, so that they read as two arrows rather than an orange ring.

Usage: make_kivoserve_icon.py OUTPUT.ico [--png-dir DIR]
Only the Python standard library is used. The .ico holds one 32-bit BMP entry with alpha per size.
"""

import argparse
import math
import os
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48)
# The service's own icon also carries 20 px, the tray's size at 125%.
SERVICE_SIZES = (16, 20, 24, 32, 48)
SUPERSAMPLE = 8

# Colours, as (r, g, b).
BODY_TOP = (0xCF, 0xDA, 0xE6)
BODY_BOTTOM = (0x86, 0x98, 0xAD)
BODY_EDGE = (0x1F, 0x28, 0x32)
LENS_GLASS = (0x12, 0x1C, 0x2A)
LENS_GLINT = (0x5E, 0xB8, 0xFF)
ARROW_LIGHT = (0xFF, 0xB0, 0x3B)
ARROW_DARK = (0xE8, 0x6A, 0x0C)
# Deeper at the tray's sizes, where the arrows are a pixel wide on the light face.
ARROW_SMALL_LIGHT = (0xF2, 0x84, 0x12)
ARROW_SMALL_DARK = (0xC8, 0x4E, 0x04)
LED = (0x7D, 0xE0, 0x5A)
HIGHLIGHT = (0xFF, 0xFF, 0xFF)


# --- shapes: each is a predicate on a point in pixel units, (0, 0) the top-left corner ---

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def arc_band(cx, cy, r_in, r_out, start, sweep):
    """A band between two radii, from angle start (degrees, clockwise from 3 o'clock) for sweep."""
    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 < r_in * r_in or d2 > r_out * r_out:
            return False
        a = (math.degrees(math.atan2(y - cy, x - cx)) - start) % 360.0
        return a <= sweep
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            xa, ya = points[i]
            xb, yb = points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                result = not result
        return result
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def arrow_head(cx, cy, radius, angle, half_width, length):
    """A triangle whose base lies across the circle of the given radius at angle (degrees,
    clockwise), pointing clockwise along the circle."""
    a = math.radians(angle)
    ux, uy = math.cos(a), math.sin(a)        # outwards
    tx, ty = -math.sin(a), math.cos(a)        # clockwise tangent (y points down)
    bx, by = cx + ux * radius, cy + uy * radius
    return polygon([
        (bx + ux * half_width, by + uy * half_width),
        (bx - ux * half_width, by - uy * half_width),
        (bx + tx * length - ux * length * 0.18, by + ty * length - uy * length * 0.18),
    ])


# --- the canvas: premultiplied RGBA floats, painted with anti-aliased shapes ---

class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[(0.0, 0.0, 0.0, 0.0) for _ in range(size)] for _ in range(size)]

    def paint(self, shape, colour, bounds=None, opacity=1.0, crisp=False):
        """colour is (r, g, b) or a function (x, y) -> (r, g, b) in pixel units. crisp paints
        whole pixels only (those at least half covered): thin strokes at the smallest size."""
        n = SUPERSAMPLE
        x0, y0, x1, y1 = bounds if bounds else (0, 0, self.size, self.size)
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.size, int(math.ceil(x1))), min(self.size, int(math.ceil(y1)))
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for sy in range(n):
                    y = py + (sy + 0.5) / n
                    for sx in range(n):
                        if shape(px + (sx + 0.5) / n, y):
                            hits += 1
                if not hits:
                    continue
                cover = opacity * hits / (n * n)
                if crisp:
                    cover = opacity if hits * 2 >= n * n else 0.0
                    if not cover:
                        continue
                rgb = colour(px + 0.5, py + 0.5) if callable(colour) else colour
                r, g, b = (c / 255.0 for c in rgb)
                dr, dg, db, da = self.pixels[py][px]
                keep = 1.0 - cover
                self.pixels[py][px] = (r * cover + dr * keep, g * cover + dg * keep,
                                       b * cover + db * keep, cover + da * keep)

    def rgba_rows(self):
        """Rows top to bottom of straight (not premultiplied) 8-bit (r, g, b, a)."""
        rows = []
        for row in self.pixels:
            out = []
            for r, g, b, a in row:
                if a <= 0.0:
                    out.append((0, 0, 0, 0))
                    continue
                out.append(tuple(min(255, int(round(c / a * 255))) for c in (r, g, b))
                           + (min(255, int(round(a * 255))),))
            rows.append(out)
        return rows


def vertical_gradient(top, bottom, y0, y1):
    def colour(x, y):
        t = min(1.0, max(0.0, (y - y0) / float(y1 - y0)))
        return tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
    return colour


def radial_gradient(inner, outer, cx, cy, radius):
    def colour(x, y):
        t = min(1.0, math.hypot(x - cx, y - cy) / radius)
        return tuple(int(round(a + (b - a) * t)) for a, b in zip(inner, outer))
    return colour


# --- the picture ---

# Geometry per size, in pixels: hand-set so that edges fall on pixel boundaries.
#   body: the camera's box (left, top, right, bottom, corner radius)
#   hump: the viewfinder housing on top (left, top, right) reaching into the body
#   lens: centre and the radii of the glass and of the arrow ring (inner, outer)
#   head: half width and length of the arrow heads; gap: degrees left open between the two arrows
#   led:  the small indicator light (centre x, centre y, radius), or None
GEOMETRY = {
    16: dict(body=(0, 3, 16, 15, 1.5), hump=(2, 1, 7), lens=(8, 9, 1.9, 3.4, 4.8),
             head=(2.0, 2.6), gap=110, led=None, edge=1.0),
    20: dict(body=(0, 4, 20, 19, 2), hump=(3, 1.5, 9), lens=(10, 11.5, 2.4, 4.2, 5.9),
             head=(2.4, 3.0), gap=90, led=(16.5, 7, 0.9), edge=1.0),
    24: dict(body=(0, 5, 24, 23, 2.5), hump=(3, 2, 10), lens=(12, 14, 2.9, 4.2, 6.2),
             head=(2.6, 3.2), gap=54, led=(19.5, 8.5, 1.1), edge=1.0),
    32: dict(body=(1, 7, 31, 30, 3), hump=(5, 3, 14), lens=(16, 18.5, 3.9, 5.6, 8.3),
             head=(3.4, 4.2), gap=50, led=(26.5, 11, 1.5), edge=1.0),
    48: dict(body=(1.5, 11, 46.5, 45, 4.5), hump=(7.5, 5, 21), lens=(24, 28, 6.0, 8.6, 12.6),
             head=(5.1, 6.2), gap=48, led=(40, 17, 2.2), edge=1.5),
}


def draw(size):
    g = GEOMETRY[size]
    c = Canvas(size)
    bx0, by0, bx1, by1, br = g['body']
    hx0, hy0, hx1 = g['hump']
    edge = g['edge']
    cx, cy, r_glass, r_in, r_out = g['lens']

    # Camera body with its viewfinder housing: a dark edge, then the shaded face inside it.
    outline = union(rounded_rect(bx0, by0, bx1, by1, br),
                    rounded_rect(hx0, hy0, hx1, by0 + br + 1, min(br, 1.5)))
    face = union(rounded_rect(bx0 + edge, by0 + edge, bx1 - edge, by1 - edge, max(0.5, br - edge)),
                 rounded_rect(hx0 + edge, hy0 + edge, hx1 - edge, by0 + br + 1,
                              max(0.5, min(br, 1.5) - edge)))
    c.paint(outline, BODY_EDGE)
    c.paint(face, vertical_gradient(BODY_TOP, BODY_BOTTOM, hy0, by1))
    # A faint light line along the top of the body gives it volume (not at 16 px: too busy).
    if size >= 24:
        c.paint(rounded_rect(bx0 + edge + br, by0 + edge, bx1 - edge - br, by0 + edge + size / 48.0,
                             0.3), HIGHLIGHT, opacity=0.35)

    # The two turning arrows around the lens: each sweeps clockwise and ends in a head, so the ring
    # reads as "turn round".
    gap = g['gap']
    head_w, head_len = g['head']
    r_mid = (r_in + r_out) / 2.0
    arrows = []
    for start in (-90.0 + gap / 2.0, 90.0 + gap / 2.0):
        sweep = 180.0 - gap
        arrows.append(arc_band(cx, cy, r_in, r_out, start, sweep))
        arrows.append(arrow_head(cx, cy, r_mid, start + sweep, head_w, head_len))
    ring = union(*arrows)
    # A thin dark keyline round the arrows keeps them apart from the grey body at every size.
    keyline = lambda x, y: any(ring(x + dx, y + dy) for dx, dy in
                               ((0.6, 0), (-0.6, 0), (0, 0.6), (0, -0.6)))
    reach = r_out + head_w + 1
    bounds = (cx - reach, cy - reach, cx + reach, cy + reach)
    if size >= 24:
        c.paint(keyline, BODY_EDGE, bounds, opacity=0.85)
    light, dark = (ARROW_LIGHT, ARROW_DARK) if size >= 24 else (ARROW_SMALL_LIGHT, ARROW_SMALL_DARK)
    c.paint(ring, vertical_gradient(light, dark, cy - r_out, cy + r_out), bounds, crisp=size <= 20)

    # The lens: dark glass with a blue glint up and to the left.
    c.paint(circle(cx, cy, r_glass + (0.0 if size < 24 else 0.6)), BODY_EDGE, bounds)
    c.paint(circle(cx, cy, r_glass), radial_gradient(LENS_GLINT, LENS_GLASS,
                                                     cx - r_glass * 0.35, cy - r_glass * 0.35,
                                                     r_glass * 1.5), bounds)
    glint_r = max(0.6, r_glass * 0.3)
    c.paint(circle(cx - r_glass * 0.38, cy - r_glass * 0.38, glint_r), HIGHLIGHT, bounds,
            opacity=0.9)

    if g['led']:
        lx, ly, lr = g['led']
        c.paint(circle(lx, ly, lr), LED)
    return c


# --- file formats ---

def bmp_icon_entry(rows):
    """An icon image: BITMAPINFOHEADER (height doubled for the mask), BGRA rows bottom-up,
    then the AND mask (1 where the pixel is fully transparent), each row padded to 32 bits."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """images: list of (size, entry bytes)."""
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    data = b''
    for size, blob in images:
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        data += blob
    with open(path, 'wb') as f:
        f.write(directory + entries + data)


def write_png(path, rows, scale=1):
    """A plain RGBA PNG, each pixel repeated scale times: to look at the icon."""
    raw = bytearray()
    for row in rows:
        line = bytearray([0])
        for px in row:
            line += bytes(px) * scale
        for _ in range(scale):
            raw += line
    size = len(rows) * scale

    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body
                + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n'
                + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
                + chunk(b'IEND', b''))


def main(argv):
    parser = argparse.ArgumentParser(description='Draw the service icon into a .ico file.')
    parser.add_argument('output', help='the .ico file to write')
    parser.add_argument('--png-dir', help='also write each size as a PNG into this folder')
    args = parser.parse_args(argv)

    images = []
    for size in SERVICE_SIZES:
        rows = draw(size).rgba_rows()
        images.append((size, bmp_icon_entry(rows)))
        if args.png_dir:
            os.makedirs(args.png_dir, exist_ok=True)
            write_png(os.path.join(args.png_dir, 'kivoserve-%d.png' % size), rows)
    tmp = args.output + '.tmp'
    write_ico(tmp, images)
    os.replace(tmp, args.output)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
