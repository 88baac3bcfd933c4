#!/usr/bin/env python3
"""Draws the product library's own pictures and the resource script that binds them into
KivoLib.dll:

  10000          "no frame": what the frame chooser shows for its first entry
  10001..10005   frames laid over the camera picture (wood, hearts, film strip, instant photo,
                 neon); the picture shows through where a frame is exactly magenta
  102, 103       still pictures shown instead of the camera picture: "privacy" and "be right back"
  150            the picture of the alert that says the resolution is too high

Usage: make_images.py OUTPUT_FOLDER   (writes the BMP files and KivoLibImages.rc there)
"""

import math
import os
import sys

from raster import (Canvas, clamp, mix, noise, rgb, run_picture_script, sd_circle, sd_ellipse_approx,
                    sd_heart, sd_round_rect, sd_segment, sd_star5, smoothstep)

W, H = 320, 240


def vertical(top, bottom, height=H):
    return lambda x, y: mix(top, bottom, y / height)


def diagonal(a, b, width=W, height=H):
    return lambda x, y: mix(a, b, clamp((x / width + y / height) / 2.0))


def opening_rect(inset_x, inset_y, radius, bottom=None):
    """The transparent middle: a rounded rectangle, as an inside test and a distance."""
    x0, y0 = inset_x, inset_y
    x1, y1 = W - inset_x, H - (bottom if bottom is not None else inset_y)
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    sdf = lambda x, y: sd_round_rect(x, y, cx, cy, hx, hy, radius)
    return (lambda x, y: sdf(x, y) < 0), sdf


def no_frame():
    c = Canvas(W, H)
    c.shade(vertical(rgb('#eef2f6'), rgb('#cdd7e1')))
    # A dashed outline where a frame would be.
    def dashed(x, y):
        d = abs(sd_round_rect(x, y, W / 2, H / 2, W / 2 - 18, H / 2 - 18, 16)) - 1.5
        t = math.atan2(y - H / 2, (x - W / 2) * 0.75)
        return d if math.sin(t * 36) > -0.2 else 10.0
    c.paint(dashed, rgb('#9aa9b8'))
    # A small frame glyph, struck through, above the middle where the chooser writes its text.
    gx, gy = W / 2, 78
    c.paint(lambda x, y: abs(sd_round_rect(x, y, gx, gy, 30, 22, 5)) - 3, rgb('#7d8e9f'),
            box=(gx - 40, gy - 32, gx + 40, gy + 32))
    c.paint(lambda x, y: sd_round_rect(x, y, gx, gy, 17, 10, 2), rgb('#b9c6d3'),
            box=(gx - 40, gy - 32, gx + 40, gy + 32))
    c.paint(lambda x, y: sd_segment(x, y, gx - 36, gy + 28, gx + 36, gy - 28) - 4.5, rgb('#eef2f6'),
            box=(gx - 42, gy - 34, gx + 42, gy + 34))
    c.paint(lambda x, y: sd_segment(x, y, gx - 36, gy + 28, gx + 36, gy - 28) - 2.5, rgb('#d9534f'),
            box=(gx - 42, gy - 34, gx + 42, gy + 34))
    return c


def wood_frame():
    c = Canvas(W, H)
    border = 28
    light, dark = rgb('#c8894a'), rgb('#7a4520')

    def wood(x, y):
        # Grain runs along each bar; the bars meet in mitred corners.
        dx = min(x, W - x)
        dy = min(y, H - y)
        along, across, seed = (x, y, 1) if dy < dx else (y, x + 500, 2)
        ring = across * 0.55 + 3.2 * noise(along * 0.02, across * 0.08, seed) \
            + 0.8 * math.sin(along * 0.03 + across * 0.1)
        grain = 0.5 + 0.5 * math.sin(ring * 2.2)
        fine = noise(along * 0.5, across * 2.5, seed + 7)
        t = clamp(0.25 + 0.45 * grain + 0.3 * fine)
        col = mix(dark, light, t)
        # Bevel: lit from the top left.
        edge_out = min(dx, dy)
        edge_in = border - edge_out
        if edge_out < 5:
            lit = 1 if (x < W / 2 and dx <= dy) or (y < H / 2 and dy < dx) else -1
            col = mix(col, (1, 0.95, 0.85) if lit > 0 else (0.15, 0.07, 0.02), 0.35 * (1 - edge_out / 5))
        if 0 <= edge_in < 5:
            lit = -1 if (x < W / 2 and dx <= dy) or (y < H / 2 and dy < dx) else 1
            col = mix(col, (1, 0.95, 0.85) if lit > 0 else (0.15, 0.07, 0.02), 0.3 * (1 - edge_in / 5))
        return col

    c.shade(wood)
    # Mitre joints.
    for (ax, ay, bx, by) in ((0, 0, border, border), (W, 0, W - border, border),
                             (0, H, border, H - border), (W, H, W - border, H - border)):
        c.paint(lambda x, y, a=(ax, ay, bx, by): sd_segment(x, y, *a) - 0.6, rgb('#4a2810'), 0.7,
                box=(min(ax, bx) - 2, min(ay, by) - 2, max(ax, bx) + 2, max(ay, by) + 2))
    # A gilded liner around the opening.
    inside, sdf = opening_rect(border, border, 2)
    gold = lambda x, y: mix(rgb('#f6dc8a'), rgb('#b8862b'), clamp((x + y) / (W + H)))
    c.paint(lambda x, y: abs(sdf(x, y) - 2.5) - 2.0, gold)
    c.paint(lambda x, y: abs(sdf(x, y) - 0.5) - 0.6, rgb('#5c3a12'), 0.8)
    c.cut_key(inside)
    return c


HEART_PALETTE = ['#ffffff', '#ffd1df', '#c2185b', '#ff7aa2', '#fff0f5']


def hearts_frame():
    c = Canvas(W, H)
    c.shade(diagonal(rgb('#ffa3c0'), rgb('#e2457f')))
    inside, sdf = opening_rect(34, 34, 24)
    # Soft sheen across the band.
    c.paint(lambda x, y: sd_circle(x, y, 40, 20, 60), (1, 1, 1), 0.18)
    # Hearts along the band, alternating sizes and tints, tilted a little.
    k = 0
    spots = []
    for x in range(14, W, 30):
        spots += [(x, 16 + (x // 30 % 2) * 3), (x + 15, H - 17 - (x // 30 % 2) * 3)]
    for y in range(46, H - 40, 28):
        spots += [(16 + (y // 28 % 2) * 3, y), (W - 17 - (y // 28 % 2) * 3, y + 14)]
    for (hx, hy) in spots:
        size = (10, 13, 8.5, 12)[k % 4]
        col = rgb(HEART_PALETTE[k % len(HEART_PALETTE)])
        box = (hx - size * 1.3, hy - size * 1.3, hx + size * 1.3, hy + size * 1.3)
        c.paint(lambda x, y, a=(hx, hy + 1.5, size): sd_heart(x, y, *a), (0.55, 0.05, 0.2), 0.25, box=box)
        c.paint(lambda x, y, a=(hx, hy, size): sd_heart(x, y, *a), col, box=box)
        k += 1
    # A white ribbon around the opening.
    c.paint(lambda x, y: abs(sdf(x, y) - 5) - 2.2, (1, 1, 1))
    c.paint(lambda x, y: abs(sdf(x, y) - 1) - 1.0, rgb('#b0124f'), 0.6)
    c.cut_key(inside)
    return c


def film_frame():
    c = Canvas(W, H)
    band = 40
    c.shade(vertical(rgb('#26262b'), rgb('#141417')))
    # Sprocket holes along the top and bottom bands.
    for x in range(12, W, 24):
        for cy in (band / 2 - 2, H - band / 2 + 2):
            hole = lambda px, py, a=(x + 5, cy, 7, 5, 2.5): sd_round_rect(px, py, *a)
            col = vertical(rgb('#f3eee2'), rgb('#cfc6b2'))
            c.paint(hole, col, box=(x - 4, cy - 8, x + 14, cy + 8))
    # Edge markings: small amber triangles and dashes.
    for x in range(30, W - 20, 64):
        tri = lambda px, py, x=x: max(abs(px - x) * 1.4 + (py - (band - 4)), -(py - (band - 9)))
        c.paint(tri, rgb('#ffb000'), 0.9, box=(x - 6, band - 12, x + 6, band))
        c.paint(lambda px, py, x=x: sd_round_rect(px, py, x + 24, H - band + 6, 8, 1.2, 1), rgb('#ffb000'),
                0.8, box=(x + 14, H - band + 3, x + 34, H - band + 9))
    inside, sdf = opening_rect(14, band, 6)
    c.paint(lambda x, y: abs(sdf(x, y) - 1.5) - 1.0, rgb('#5a5040'))
    c.cut_key(inside)
    return c


def polaroid_frame():
    c = Canvas(W, H)
    side, bottom = 18, 58
    paper = lambda x, y: mix(rgb('#fbf9f3'), rgb('#ebe5d6'), clamp(y / H * 0.8 + 0.1 * noise(x * 0.3, y * 0.3, 5)))
    c.shade(paper)
    inside, sdf = opening_rect(side, side, 1, bottom=bottom)
    # Inner shadow where the photo meets the card.
    c.paint(lambda x, y: abs(sdf(x, y) - 1.0) - 1.2, rgb('#9b9384'), 0.55)
    # Washi tape over the top edge, slightly turned.
    ang = math.radians(-6)
    ca, sa = math.cos(ang), math.sin(ang)

    def tape(x, y):
        dx, dy = x - W / 2, y - 10
        u, v = dx * ca - dy * sa, dx * sa + dy * ca
        return sd_round_rect(u, v, 0, 0, 44, 11, 1)

    def tape_color(x, y):
        stripe = 0.5 + 0.5 * math.sin((x + y) * 0.45)
        return mix(rgb('#9fd8cf'), rgb('#c9ece5'), stripe)
    c.paint(tape, tape_color, 0.78, box=(W / 2 - 50, 0, W / 2 + 50, 26))
    # A hand-drawn caption: a loose scribble and a little heart, in blue ink.
    ink = rgb('#2f4f8f')
    y0 = H - bottom / 2 + 2
    pts = []
    for i in range(0, 121):
        t = i / 120.0
        x = 92 + t * 118
        y = y0 + 5 * math.sin(t * 23) * (0.6 + 0.4 * math.sin(t * 5)) - 3 * math.sin(t * 3)
        pts.append((x, y))
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        c.paint(lambda x, y, a=(ax, ay, bx, by): sd_segment(x, y, *a) - 1.0, ink,
                box=(min(ax, bx) - 3, min(ay, by) - 3, max(ax, bx) + 3, max(ay, by) + 3))
    c.paint(lambda x, y: sd_heart(x, y, 226, y0 - 1, 9), rgb('#e0457b'), box=(212, y0 - 14, 240, y0 + 12))
    c.cut_key(inside)
    return c


def neon_frame():
    c = Canvas(W, H)
    wall_a, wall_b = rgb('#1a0f2e'), rgb('#0b0714')

    def wall(x, y):
        col = mix(wall_a, wall_b, y / H)
        # Dim brickwork behind the tubes.
        row = int(y // 14)
        bx = (x + (7 if row % 2 else 0)) % 28
        by = y % 14
        if bx < 1.2 or by < 1.2:
            col = mix(col, (0, 0, 0), 0.45)
        return mix(col, (0.2, 0.1, 0.3), 0.15 * noise(x * 0.2, y * 0.2, 9))

    c.shade(wall)
    inside, sdf = opening_rect(28, 28, 18)
    inner_tube = lambda x, y: abs(sdf(x, y) - 8) - 1.6
    outer_tube = lambda x, y: abs(sd_round_rect(x, y, W / 2, H / 2, W / 2 - 7, H / 2 - 7, 14)) - 1.6
    c.glow(inner_tube, rgb('#00e5ff'), 4.0, 0.9)
    c.glow(outer_tube, rgb('#ff3fb4'), 3.5, 0.8)
    c.paint(inner_tube, rgb('#e6fdff'))
    c.paint(outer_tube, rgb('#ffe3f4'))
    # Neon stars in the corners.
    for (sx, sy, r, ang) in ((17, 17, 7, 0.2), (W - 17, 17, 6, -0.3), (17, H - 17, 6, 0.5), (W - 17, H - 17, 7, 0)):
        star = lambda x, y, a=(sx, sy, r, 0.45, ang): abs(sd_star5(x, y, *a)) - 0.9
        box = (sx - 16, sy - 16, sx + 16, sy + 16)
        c.glow(star, rgb('#ffe14d'), 2.5, 0.8, box=box)
        c.paint(star, rgb('#fff8d6'), box=box)
    c.cut_key(inside)
    return c


def privacy_still():
    c = Canvas(W, H)
    base = diagonal(rgb('#12586a'), rgb('#1b2550'))
    c.shade(lambda x, y: mix(base(x, y), (0.02, 0.03, 0.08), 0.45 * smoothstep(80, 220, math.hypot(x - W / 2, y - H / 2))))
    # Soft out-of-focus lights.
    for (bx, by, br, a) in ((52, 48, 30, 0.08), (270, 60, 22, 0.07), (250, 190, 34, 0.06), (70, 200, 18, 0.08)):
        c.paint(lambda x, y, q=(bx, by, br): sd_circle(x, y, *q), (0.7, 0.95, 1.0), a, box=(bx - br - 2, by - br - 2, bx + br + 2, by + br + 2))
    cx, cy = W / 2, H / 2
    box = (cx - 70, cy - 70, cx + 70, cy + 70)
    c.paint(lambda x, y: sd_circle(x, y, cx, cy, 60), (1, 1, 1), 0.10, box=box)
    c.paint(lambda x, y: abs(sd_circle(x, y, cx, cy, 60)) - 1.6, (1, 1, 1), 0.85, box=box)
    # A camera, struck through.
    white = (0.97, 0.98, 1.0)
    c.paint(lambda x, y: sd_round_rect(x, y, cx, cy + 4, 34, 22, 7), white, box=box)
    c.paint(lambda x, y: sd_round_rect(x, y, cx - 14, cy - 20, 9, 5, 2), white, box=box)
    lens = base(cx, cy)
    c.paint(lambda x, y: sd_circle(x, y, cx, cy + 5, 13), lens, box=box)
    c.paint(lambda x, y: abs(sd_circle(x, y, cx, cy + 5, 8)) - 1.4, white, 0.8, box=box)
    c.paint(lambda x, y: sd_circle(x, y, cx + 23, cy - 8, 2.8), lens, box=box)
    c.paint(lambda x, y: sd_segment(x, y, cx - 44, cy - 38, cx + 44, cy + 38) - 7, lens, box=box)
    c.paint(lambda x, y: sd_segment(x, y, cx - 44, cy - 38, cx + 44, cy + 38) - 3.5, rgb('#ff6b6b'), box=box)
    return c


def be_right_back_still():
    c = Canvas(W, H)
    sky = vertical(rgb('#ffc766'), rgb('#ff6f61'))
    c.shade(sky)
    c.glow(lambda x, y: sd_circle(x, y, 250, 58, 26), (1.0, 0.95, 0.75), 18, 0.5)
    c.paint(lambda x, y: sd_circle(x, y, 250, 58, 26), rgb('#fff1c9'), 0.9, box=(220, 28, 280, 88))
    cup = (0.99, 0.98, 0.96)
    shade = rgb('#e9dfd3')
    cx, top, bottom = 150, 112, 186
    body = lambda x, y: max(sd_round_rect(x, y, cx, (top + bottom) / 2, 38, (bottom - top) / 2, 14),
                            top - y)
    c.paint(lambda x, y: sd_ellipse_approx(x, y, cx + 6, 206, 78, 9), (0.55, 0.2, 0.15), 0.25)
    c.paint(lambda x, y: sd_ellipse_approx(x, y, cx + 6, 198, 72, 10), cup)
    c.paint(lambda x, y: abs(sd_ellipse_approx(x, y, cx + 6, 198, 46, 6)) - 1, shade)
    c.paint(lambda x, y: abs(sd_circle(x, y, cx + 42, 146, 16)) - 6, cup, box=(cx + 20, 120, cx + 66, 172))
    c.paint(lambda x, y: body(x, y), lambda x, y: mix(cup, shade, smoothstep(cx - 10, cx + 40, x)))
    c.paint(lambda x, y: sd_ellipse_approx(x, y, cx, top, 38, 7), rgb('#f3ece4'))
    c.paint(lambda x, y: sd_ellipse_approx(x, y, cx, top + 1, 33, 5), rgb('#6b3e26'))
    c.paint(lambda x, y: sd_heart(x, y, cx, 150, 11), rgb('#ff6f61'), box=(cx - 16, 132, cx + 16, 166))
    # Steam rising in three wisps.
    for i, sx in enumerate((cx - 16, cx, cx + 16)):
        pts = [(sx + 6 * math.sin(t / 8.0 + i * 1.7), 100 - t) for t in range(0, 52, 2)]
        for j, ((ax, ay), (bx, by)) in enumerate(zip(pts, pts[1:])):
            fade = 0.85 * (1 - j / len(pts))
            c.paint(lambda x, y, a=(ax, ay, bx, by): sd_segment(x, y, *a) - 2.2, (1, 1, 1), fade,
                    box=(min(ax, bx) - 4, min(ay, by) - 4, max(ax, bx) + 4, max(ay, by) + 4))
    return c


def over_resolution_picture():
    # Drawn at the 144 x 108 pixels of the alert's picture control, so that it is shown unscaled;
    # the figure is laid out on a 200 x 150 grid and scaled by k.
    w, h = 144, 108
    k = w / 200.0
    c = Canvas(w, h)
    c.shade(lambda x, y: mix(rgb('#f5f7fa'), rgb('#dde4ec'), y / h))
    cx, cy = 76 * k, 78 * k
    slate = rgb('#41536b')
    # A camera with arrows pushing outwards: the picture is too big for it.
    c.paint(lambda x, y: sd_round_rect(x, y, cx, cy, 36 * k, 24 * k, 7 * k), slate)
    c.paint(lambda x, y: sd_round_rect(x, y, cx - 16 * k, cy - 27 * k, 10 * k, 6 * k, 2 * k), slate)
    c.paint(lambda x, y: sd_circle(x, y, cx, cy + 1 * k, 15 * k), rgb('#dde4ec'))
    c.paint(lambda x, y: sd_circle(x, y, cx, cy + 1 * k, 9 * k), rgb('#7fa7d9'))
    c.paint(lambda x, y: sd_circle(x, y, cx - 3 * k, cy - 2 * k, 3 * k), (1, 1, 1), 0.9)
    arrow = rgb('#e07b00')
    stroke = 2.4 * k
    for (dx, dy) in ((-1, -1), (1, -1), (-1, 1), (1, 1)):
        tip = (cx + dx * 66 * k, cy + dy * 52 * k)
        base = (cx + dx * 46 * k, cy + dy * 36 * k)
        head = 11 * k
        c.paint(lambda x, y, a=(base[0], base[1], tip[0], tip[1]): sd_segment(x, y, *a) - stroke, arrow)
        c.paint(lambda x, y, t=tip: sd_segment(x, y, t[0], t[1], t[0] - dx * head, t[1]) - stroke, arrow)
        c.paint(lambda x, y, t=tip: sd_segment(x, y, t[0], t[1], t[0], t[1] - dy * head) - stroke, arrow)
    # Warning badge.
    bx, by = 172 * k, 88 * k
    tri = lambda x, y: max(abs(x - bx) * 0.866 - (y - by) * 0.5, y - by) - 15.5 * k
    c.paint(lambda x, y: tri(x, y) - 1.5 * k, (1, 1, 1))
    c.paint(tri, rgb('#f2b705'))
    c.paint(lambda x, y: sd_segment(x, y, bx, by - 9 * k, bx, by + 2 * k) - 2.2 * k, rgb('#3a2c00'))
    c.paint(lambda x, y: sd_circle(x, y, bx, by + 8 * k, 2.4 * k), rgb('#3a2c00'))
    return c


PICTURES = [
    (10000, 'frame10000.bmp', no_frame),
    (10001, 'frame10001.bmp', wood_frame),
    (10002, 'frame10002.bmp', hearts_frame),
    (10003, 'frame10003.bmp', film_frame),
    (10004, 'frame10004.bmp', polaroid_frame),
    (10005, 'frame10005.bmp', neon_frame),
    (102, 'still102.bmp', privacy_still),
    (103, 'still103.bmp', be_right_back_still),
    (150, 'overres150.bmp', over_resolution_picture),
]


def write_pictures(out):
    lines = ['// Generated by make_images.py: the library\'s own pictures.']
    for ident, name, draw in PICTURES:
        path = os.path.join(out, name)
        draw().save_bmp(path)
        lines.append('%d BITMAP "%s"' % (ident, os.path.abspath(path).replace('\\', '/')))
    with open(os.path.join(out, 'KivoLibImages.rc'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


def main(argv):
    return run_picture_script(argv, __doc__, write_pictures)


if __name__ == '__main__':
    sys.exit(main(sys.argv))
