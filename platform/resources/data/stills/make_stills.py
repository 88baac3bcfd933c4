#!/usr/bin/env python3
"""Draws the two still pictures of the installation's data folder, which the settings panel can
send instead of the camera picture:

  stil01.bmp   "be right back": a clock whose next minutes are marked, over the words
  stil02.bmp   privacy: a closed eye, over the words "camera paused"

Both are 320 x 240, 24-bit, drawn with the library's rasteriser. The words are drawn as strokes
(a small built-in letter set), so that the pictures need no font. The English pictures go into the
folder itself, those of other languages into a folder named for the language (de/).

Usage: make_stills.py OUTPUT_FOLDER
"""

import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                '..', '..', '..', 'kivolib', 'images'))
from raster import (Canvas, clamp, mix, noise, rgb, run_picture_script, sd_circle,  # noqa: E402
                    sd_segment, smoothstep)

W, H = 320, 240


# --- words drawn as strokes: each letter a list of polylines on a grid 6 units high ---

def arc(cx, cy, rx, ry, t0, t1, steps=14):
    """Points of an elliptic arc from angle t0 to t1 (degrees, 0 right, 90 down)."""
    return [(cx + rx * math.cos(math.radians(t0 + (t1 - t0) * i / steps)),
             cy + ry * math.sin(math.radians(t0 + (t1 - t0) * i / steps))) for i in range(steps + 1)]


LETTERS = {
    'A': (4.4, [[(0, 6), (2.2, 0), (4.4, 6)], [(0.8, 3.9), (3.6, 3.9)]]),
    'B': (3.9, [[(0, 6), (0, 0), (2.2, 0)] + arc(2.2, 1.45, 1.45, 1.45, 270, 450)
                + [(0, 2.9), (2.4, 2.9)] + arc(2.4, 4.45, 1.55, 1.55, 270, 450) + [(0, 6)]]),
    'C': (4.4, [arc(2.6, 3, 2.6, 3, 320, 40, 24)]),
    'D': (4.4, [[(0, 0), (0, 6), (1.6, 6)] + arc(1.6, 3, 2.8, 3, 90, -90, 20) + [(0, 0)]]),
    'E': (3.6, [[(3.6, 0), (0, 0), (0, 6), (3.6, 6)], [(0, 2.9), (3.0, 2.9)]]),
    'G': (4.6, [arc(2.6, 3, 2.6, 3, 320, 30, 24) + [(4.9, 3.3), (2.7, 3.3)]]),
    'H': (4.0, [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]]),
    'I': (0.0, [[(0, 0), (0, 6)]]),
    'L': (3.2, [[(0, 0), (0, 6), (3.2, 6)]]),
    'K': (3.8, [[(0, 0), (0, 6)], [(3.7, 0), (0, 3.9)], [(1.3, 2.6), (3.8, 6)]]),
    'M': (5.0, [[(0, 6), (0, 0), (2.5, 4.2), (5, 0), (5, 6)]]),
    'P': (3.8, [[(0, 6), (0, 0), (2.1, 0)] + arc(2.1, 1.65, 1.65, 1.65, 270, 450) + [(0, 3.3)]]),
    'R': (3.9, [[(0, 6), (0, 0), (2.1, 0)] + arc(2.1, 1.65, 1.65, 1.65, 270, 450) + [(0, 3.3)],
                [(1.9, 3.3), (3.9, 6)]]),
    'S': (3.9, [arc(1.95, 1.5, 1.85, 1.5, 330, 90) + arc(1.95, 4.5, 1.95, 1.5, 270, 520)]),
    'T': (4.2, [[(0, 0), (4.2, 0)], [(2.1, 0), (2.1, 6)]]),
    'U': (4.0, [[(0, 0), (0, 4)] + arc(2, 4, 2, 2, 180, 0) + [(4, 0)]]),
    'Z': (3.8, [[(0, 0), (3.8, 0), (0, 6), (3.8, 6)]]),
}
# An umlaut: the letter with two dots above its cap height.
LETTERS['Ü'] = (4.0, LETTERS['U'][1] + [[(1.0, -1.5), (1.0, -1.2)], [(3.0, -1.5), (3.0, -1.2)]])
GAP, SPACE = 1.7, 2.6


def letter_segments(text, x, y, unit):
    """The strokes of a line of capitals whose top-left corner is (x, y): one list of segments
    in pixels per letter."""
    letters = []
    for ch in text:
        if ch == ' ':
            x += SPACE * unit
            continue
        width, lines = LETTERS[ch]
        segments = []
        for line in lines:
            for (ax, ay), (bx, by) in zip(line, line[1:]):
                if math.hypot(bx - ax, by - ay) > 1e-3:
                    segments.append((x + ax * unit, y + ay * unit, x + bx * unit, y + by * unit))
        letters.append(segments)
        x += (width + GAP) * unit
    return letters


def text_width(text, unit):
    width = sum(SPACE if ch == ' ' else LETTERS[ch][0] + GAP for ch in text) - GAP
    return width * unit


def draw_words(c, text, cy, unit, color, weight, shadow=0.35):
    """A centred line of capitals, its cap height 6 units, its middle at cy, with a soft shadow.
    One shape per letter keeps the joins of its strokes clean and the distance tests few."""
    x = (W - text_width(text, unit)) / 2.0
    for segments in letter_segments(text, x, cy - 3 * unit, unit):
        xs = [v for q in segments for v in (q[0], q[2])]
        ys = [v for q in segments for v in (q[1], q[3])]
        box = (min(xs) - weight - 4, min(ys) - weight - 4, max(xs) + weight + 5, max(ys) + weight + 5)
        shape = lambda px, py, s=segments: min(sd_segment(px, py, *q) for q in s) - weight
        if shadow:
            c.paint(lambda px, py, f=shape: f(px - 1.0, py - 1.5) - 0.6, (0.0, 0.0, 0.05), shadow,
                    box=box)
        c.paint(shape, color, box=box)


# --- the backgrounds ---

def soft_background(c, top_left, bottom_right, seed):
    def shade(x, y):
        t = clamp((x / W * 0.45 + y / H * 0.55))
        col = mix(top_left, bottom_right, t)
        # A gentle vignette and a little grain, so that the flat colour does not band.
        v = smoothstep(90, 230, math.hypot(x - W / 2, (y - H / 2) * 1.2))
        col = mix(col, (0.0, 0.0, 0.0), 0.35 * v)
        g = (noise(x * 0.7, y * 0.7, seed) - 0.5) * 0.02
        return (col[0] + g, col[1] + g, col[2] + g)
    c.shade(shade)
    for (bx, by, br, a) in ((40, 40, 26, 0.07), (282, 52, 18, 0.06), (268, 200, 30, 0.05),
                            (56, 206, 16, 0.07), (300, 130, 10, 0.06)):
        c.paint(lambda x, y, q=(bx, by, br): sd_circle(x, y, *q), (1.0, 1.0, 1.0), a,
                box=(bx - br - 2, by - br - 2, bx + br + 2, by + br + 2))


# --- the pictures ---

def be_right_back(words):
    c = Canvas(W, H)
    soft_background(c, rgb('#2a9d8f'), rgb('#1d3557'), 3)
    cx, cy, r = W / 2.0, 92.0, 54.0
    box = (cx - r - 12, cy - r - 12, cx + r + 12, cy + r + 12)
    face = lambda x, y: sd_circle(x, y, cx, cy, r)
    c.paint(lambda x, y: face(x - 1.5, y - 3) - 1, (0.0, 0.02, 0.08), 0.3, box=box)
    c.paint(lambda x, y: face(x, y) - 5, rgb('#f1faee'), box=box)
    c.paint(face, lambda x, y: mix((1.0, 1.0, 1.0), rgb('#dfe9f0'), clamp((y - cy + r) / (2 * r))),
            box=box)

    # The next ten minutes, marked in orange from the minute hand on.
    def sector(x, y):
        a = (math.degrees(math.atan2(y - cy, x - cx)) + 90.0) % 360.0   # 0 at twelve, clockwise
        d = face(x, y) + 3
        return d if a <= 60.0 else max(d, min(abs(a - 60.0), abs(a - 360.0)) * r / 57.3)
    c.paint(sector, rgb('#f4a261'), 0.55, box=box)
    # Hour marks.
    for i in range(12):
        t = math.radians(i * 30 - 90)
        inner = r - (10 if i % 3 == 0 else 6)
        c.paint(lambda x, y, t=t, inner=inner: sd_segment(x, y, cx + inner * math.cos(t), cy + inner * math.sin(t),
                                                          cx + (r - 3) * math.cos(t), cy + (r - 3) * math.sin(t))
                - (1.6 if i % 3 == 0 else 1.0), rgb('#1d3557'), box=box)
    # Hands at ten o'clock: the marked minutes start at the minute hand.
    hands = ((-90.0 + 300.0, r * 0.5, 3.0), (-90.0, r * 0.78, 2.0))
    for angle, length, width in hands:
        t = math.radians(angle)
        c.paint(lambda x, y, t=t, length=length, width=width:
                sd_segment(x, y, cx, cy, cx + length * math.cos(t), cy + length * math.sin(t)) - width,
                rgb('#1d3557'), box=box)
    c.paint(lambda x, y: sd_circle(x, y, cx, cy, 4.5), rgb('#e76f51'), box=box)
    # An arrow head at the end of the marked minutes: the time runs on.
    t = math.radians(60 - 90)
    tx, ty = cx + (r + 0.5) * math.cos(t), cy + (r + 0.5) * math.sin(t)
    c.paint(lambda x, y: sd_circle(x, y, tx, ty, 5), rgb('#e76f51'), box=(tx - 8, ty - 8, tx + 8, ty + 8))
    draw_words(c, words, 190, 3.6, (1.0, 1.0, 1.0), 1.7)
    return c


def camera_paused(words):
    c = Canvas(W, H)
    soft_background(c, rgb('#5a3d7a'), rgb('#161b3a'), 11)
    cx, cy = W / 2.0, 96.0
    box = (cx - 80, cy - 70, cx + 80, cy + 70)
    # A ring like a lens, and in it a closed eye: lid and lashes.
    c.paint(lambda x, y: sd_circle(x, y, cx, cy, 62), (1.0, 1.0, 1.0), 0.08, box=box)
    c.paint(lambda x, y: abs(sd_circle(x, y, cx, cy, 62)) - 1.6, (1.0, 1.0, 1.0), 0.8, box=box)
    lid = arc(cx, cy - 16, 40, 24, 15, 165, 28)
    lid_segments = list(zip(lid, lid[1:]))
    lashes = []
    for t in (38, 64, 90, 116, 142):
        a = math.radians(t)
        px, py = cx + 40 * math.cos(a), cy - 16 + 24 * math.sin(a)
        nx, ny = math.cos(a) / 40.0, math.sin(a) / 24.0
        n = math.hypot(nx, ny)
        lashes.append(((px, py), (px + nx / n * 11, py + ny / n * 11)))
    strokes = [(a[0], a[1], b[0], b[1]) for a, b in lid_segments + lashes]
    eye = lambda x, y: min(sd_segment(x, y, *s) for s in strokes) - 3.0
    c.paint(lambda x, y: eye(x - 1, y - 2) - 0.5, (0.0, 0.0, 0.05), 0.3, box=box)
    c.paint(eye, (1.0, 1.0, 1.0), box=box)
    draw_words(c, words, 196, 3.4, (1.0, 1.0, 1.0), 1.6)
    return c


# The pictures by language folder ('' for English, the folder itself) and file name, with their words.
STILLS = {
    '': [('stil01.bmp', be_right_back, 'BE RIGHT BACK'), ('stil02.bmp', camera_paused, 'CAMERA PAUSED')],
    'de': [('stil01.bmp', be_right_back, 'GLEICH ZURÜCK'), ('stil02.bmp', camera_paused, 'KAMERA PAUSIERT')],
}


def write_stills(out_root):
    for language, pictures in STILLS.items():
        out = os.path.join(out_root, language)
        os.makedirs(out, exist_ok=True)
        for name, draw, words in pictures:
            if text_width(words, 3.6) > W - 16:
                raise SystemExit('make_stills.py: "%s" is too wide for the picture' % words)
            path = os.path.join(out, name)
            draw(words).save_bmp(path + '.tmp')
            os.replace(path + '.tmp', path)


def main(argv):
    return run_picture_script(argv, __doc__, write_stills)


if __name__ == '__main__':
    sys.exit(main(sys.argv))
