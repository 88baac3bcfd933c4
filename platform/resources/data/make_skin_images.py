#!/usr/bin/env python3
"""Draws the skin's bitmaps for KivoData.dll with the project's rasteriser (raster.py):

  141-144      the caption's help glyph, 16x14, each on its state's fill colour:
               141 black (disabled), 142 light cyan (hot), 143 slate (pressed), 144 grey (normal)
  151-188      nine-slice pieces of the direction button's bitmap look, from base b of each state:
               b+0 bottom, b+1 bottom-left, b+2 bottom-right, b+3 centre, b+4 left, b+5 right,
               b+6 top, b+7 top-left, b+8 top-right; normal 151, pressed 160, hot 169,
               disabled 178 (whose top-left is 186 and top-right 188; 185 and 187 repeat them)
  FRAMEPREV*, FRAMENEXT*   the frame chooser's arrow buttons, 18x18: U up, D down, F focused,
               X disabled; FRAMEPREV23*, ...27*, ...36* the same drawn for 120, 144 and 192 DPI
  FRAMESAMPLE  the chooser's sample picture, 320x240: what a frame is previewed over while the
               panel has no camera picture to offer

Usage: make_skin_images.py OUTPUT_FOLDER   (writes the BMP files there)
"""

import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                '..', '..', 'kivolib', 'images'))
from raster import (Canvas, clamp, mix, rgb, sd_circle, sd_ellipse_approx,  # noqa: E402
                    sd_round_rect, sd_segment, smoothstep)

# The panel's palette.
SLATE = rgb('#3c4e62')        # RGB(60,78,98)
GREY = rgb('#747a80')         # RGB(116,122,128)
CYAN = rgb('#8edfff')         # RGB(142,223,255)
BLACK = (0.0, 0.0, 0.0)

# --- button pieces ---

SIZE = 30      # the whole button picture the pieces are cut from
CORNER = 5     # corner pieces are CORNER x CORNER

# Each state: outline, fill at the top and at the bottom, a one-pixel inner highlight at the top.
STATES = {
    'normal':   dict(base=151, line=rgb('#3c78aa'), top=rgb('#e4f6ff'), bottom=rgb('#8edfff'),
                     shine=rgb('#f4fbff')),
    'pressed':  dict(base=160, line=rgb('#1e2a36'), top=rgb('#3c4e62'), bottom=rgb('#56708c'),
                     shine=rgb('#34455a')),
    'hot':      dict(base=169, line=rgb('#2a6496'), top=rgb('#f2fbff'), bottom=rgb('#b4ecff'),
                     shine=rgb('#fcfeff')),
    'disabled': dict(base=178, line=rgb('#bec4c8'), top=rgb('#e6eaec'), bottom=rgb('#d7dde0'),
                     shine=rgb('#eef1f2')),
}

# Where each piece lies in the whole picture, and its offset from the state's base id.
PIECES = {
    0: (CORNER, SIZE - CORNER, SIZE - CORNER, SIZE),        # bottom
    1: (0, SIZE - CORNER, CORNER, SIZE),                    # bottom-left
    2: (SIZE - CORNER, SIZE - CORNER, SIZE, SIZE),          # bottom-right
    3: (CORNER, CORNER, SIZE - CORNER, SIZE - CORNER),      # centre
    4: (0, CORNER, CORNER, SIZE - CORNER),                  # left
    5: (SIZE - CORNER, CORNER, SIZE, SIZE - CORNER),        # right
    6: (CORNER, 0, SIZE - CORNER, CORNER),                  # top
    7: (0, 0, CORNER, CORNER),                              # top-left
    8: (SIZE - CORNER, 0, SIZE, CORNER),                    # top-right
}

# The disabled state's top corners sit two ids further on; 185 and 187 carry the same pictures.
DISABLED_IDS = {0: 178, 1: 179, 2: 180, 3: 181, 4: 182, 5: 183, 6: 184, 7: 186, 8: 188}
DISABLED_REPEATS = {185: 7, 187: 8}


def button_picture(state):
    """The whole button: a rounded outline over a vertical gradient, corners on the body colour."""
    c = Canvas(SIZE, SIZE, rgb('#d7dde0'))
    half = SIZE / 2.0
    outer = lambda x, y: sd_round_rect(x, y, half, half, half, half, 4.0)
    inner = lambda x, y: sd_round_rect(x, y, half, half, half - 1.0, half - 1.0, 3.0)
    c.paint(outer, state['line'])
    # The gradient runs over the middle band only, so that stretching it keeps the corners sharp.
    span = SIZE - 2 * CORNER
    fill = lambda x, y: mix(state['top'], state['bottom'], clamp((y - CORNER) / span))
    c.paint(inner, fill)
    c.paint(lambda x, y: max(inner(x, y), abs(y - 1.5) - 0.5), state['shine'])
    return c


def crop(canvas, box):
    x0, y0, x1, y1 = box
    piece = Canvas(x1 - x0, y1 - y0)
    for y in range(y0, y1):
        piece.px[y - y0] = canvas.px[y][x0:x1]
    return piece


def button_pieces(folder):
    for name, state in STATES.items():
        whole = button_picture(state)
        for offset, box in PIECES.items():
            rid = DISABLED_IDS[offset] if name == 'disabled' else state['base'] + offset
            crop(whole, box).save_bmp(os.path.join(folder, 'skin%d.bmp' % rid))
        if name == 'disabled':
            for rid, offset in DISABLED_REPEATS.items():
                crop(whole, PIECES[offset]).save_bmp(os.path.join(folder, 'skin%d.bmp' % rid))


# --- caption help glyph ---

def question_mark(c, cx, cy, colour, scale=1.0):
    """A '?' of a round hook over a stem and a dot, about 7 by 11 pixels at scale 1."""
    r = 3.0 * scale
    hook_y = cy - 2.5 * scale

    def hook(x, y):
        d = abs(sd_circle(x, y, cx, hook_y, r)) - 0.9 * scale
        # Keep the upper part of the ring and its right side down to the stem.
        angle = math.atan2(y - hook_y, x - cx)
        if 0.55 * math.pi < angle < math.pi or -math.pi < angle < -0.95 * math.pi:
            return max(d, 0.6)
        if 0.0 < angle < 0.55 * math.pi and y > hook_y + 0.4 * r and x < cx + 0.6 * r:
            return max(d, 0.6)
        return d
    c.paint(hook, colour)
    c.paint(lambda x, y: sd_segment(x, y, cx + 1.6 * scale, hook_y + 2.4 * scale,
                                    cx, cy + 1.8 * scale) - 0.9 * scale, colour)
    c.paint(lambda x, y: sd_circle(x, y, cx, cy + 4.6 * scale, 1.05 * scale), colour)


HELP_GLYPHS = {
    141: (BLACK, GREY),                 # disabled
    142: (CYAN, SLATE),                 # hot
    143: (SLATE, rgb('#ffffff')),       # pressed
    144: (GREY, rgb('#ffffff')),        # normal
}


def help_glyphs(folder):
    for rid, (fill, ink) in HELP_GLYPHS.items():
        c = Canvas(16, 14, fill)
        question_mark(c, 8.0, 6.6, ink)
        c.save_bmp(os.path.join(folder, 'help%d.bmp' % rid))


# --- frame chooser arrows ---

ARROW_LOOKS = {
    'U': dict(ring=rgb('#8e969e'), fill=rgb('#eef2f4'), ink=SLATE, offset=0.0),
    'D': dict(ring=rgb('#1e2a36'), fill=SLATE, ink=rgb('#ffffff'), offset=0.7),
    'F': dict(ring=rgb('#2a6496'), fill=rgb('#c8eeff'), ink=SLATE, offset=0.0),
    'X': dict(ring=rgb('#c3c8cc'), fill=rgb('#e6eaec'), ink=rgb('#acb1b3'), offset=0.0),
}


# The arrows' sizes: 18 px at 96 DPI, and drawn anew (not stretched) for 120, 144 and 192 DPI.
ARROW_SIZES = (18, 23, 27, 36)


def arrow(direction, look, size=18):
    c = Canvas(size, size, rgb('#d7dde0'))
    k = size / 18.0
    o = look['offset'] * k
    cx, cy = size / 2.0 + o, size / 2.0 + o
    c.paint(lambda x, y: sd_circle(x, y, cx, cy, 8.2 * k), look['ring'])
    c.paint(lambda x, y: sd_circle(x, y, cx, cy, 8.2 * k - max(1.2, 1.2 * k)), look['fill'])
    s = -1.0 if direction == 'PREV' else 1.0
    tip = (cx + 3.0 * k * s, cy)
    back_top = (cx - 2.0 * k * s, cy - 4.0 * k)
    back_bottom = (cx - 2.0 * k * s, cy + 4.0 * k)

    def triangle(x, y):
        d1 = sd_segment(x, y, tip[0], tip[1], back_top[0], back_top[1])
        d2 = sd_segment(x, y, back_top[0], back_top[1], back_bottom[0], back_bottom[1])
        d3 = sd_segment(x, y, back_bottom[0], back_bottom[1], tip[0], tip[1])
        d = min(d1, d2, d3)
        inside = (s * (x - back_top[0]) >= 0 and
                  abs(y - cy) <= 4.0 * k * (1.0 - s * (x - back_top[0]) / (5.0 * k)))
        return -d if inside else d
    c.paint(triangle, look['ink'])
    return c


def arrows(folder):
    for direction in ('PREV', 'NEXT'):
        for size in ARROW_SIZES:
            name = direction.lower() + ('' if size == 18 else str(size))
            for suffix, look in ARROW_LOOKS.items():
                arrow(direction, look, size).save_bmp(
                    os.path.join(folder, 'frame%s%s.bmp' % (name, suffix)))


# --- the chooser's sample picture ---

def sample_picture():
    """A quiet stand-in for the camera: a person, head and shoulders, before a lit wall, in
    muted colours, so that a frame is judged over a picture like the one it will frame."""
    w, h = 320, 240
    c = Canvas(w, h)
    # A wall lit from the upper left, a shelf line and a window's soft light on the right.
    c.shade(lambda x, y: mix(rgb('#c9d3dc'), rgb('#8e9caa'), clamp((x * 0.6 + y) / (w * 0.6 + h))))
    c.glow(lambda x, y: sd_round_rect(x, y, 268, 70, 26, 40, 6), rgb('#fff6e0'), 18, 0.22)
    c.paint(lambda x, y: sd_round_rect(x, y, 268, 70, 26, 40, 6), rgb('#eef1f2'))
    c.paint(lambda x, y: sd_segment(x, y, 268, 30, 268, 110) - 1.2, rgb('#b8c2cb'))
    c.paint(lambda x, y: sd_segment(x, y, 242, 70, 294, 70) - 1.2, rgb('#b8c2cb'))
    c.paint(lambda x, y: sd_round_rect(x, y, 52, 150, 40, 3, 1), rgb('#7a6a5a'))
    c.paint(lambda x, y: sd_round_rect(x, y, 40, 136, 7, 11, 2), rgb('#5d7f6e'))
    c.paint(lambda x, y: sd_round_rect(x, y, 62, 139, 9, 8, 2), rgb('#a07e62'))
    # The person: shoulders and neck, then the head with a little light on its left side.
    body = rgb('#4b6178')
    c.paint(lambda x, y: sd_round_rect(x, y, 160, 238, 92, 62, 44), body)
    c.paint(lambda x, y: sd_round_rect(x, y, 160, 162, 17, 20, 8), rgb('#c99f86'))
    skin = lambda x, y: mix(rgb('#e2bca3'), rgb('#b88a70'), clamp((x - 130) / 60.0))
    c.paint(lambda x, y: sd_ellipse_approx(x, y, 160, 118, 33, 41), skin)
    hair = rgb('#3b2f2a')
    # A fringe swept to one side, the hair reaching down beside the face.
    fringe = lambda x: 96 + 0.22 * (x - 160) + 24 * smoothstep(25, 33, abs(x - 160))
    c.paint(lambda x, y: max(sd_ellipse_approx(x, y, 160, 110, 36, 41), y - fringe(x)), hair)
    return c


def main():
    if len(sys.argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    button_pieces(folder)
    help_glyphs(folder)
    arrows(folder)
    sample_picture().save_bmp(os.path.join(folder, 'framesample.bmp'))
    return 0


if __name__ == '__main__':
    sys.exit(main())
