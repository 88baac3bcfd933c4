"""A small anti-aliased rasteriser for the library's pictures: signed-distance shapes painted over a
canvas of float RGB, written as 24-bit BMP. Python standard library only.

Distances are in pixels, negative inside a shape; a pixel's coverage is how much of a one-pixel
band around the edge lies inside, which gives smooth edges without supersampling.
"""

import math
import os
import struct

KEY = (1.0, 0.0, 1.0)   # the frames' colour key, magenta, written as exactly 255, 0, 255


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def rgb(hex_text):
    v = int(hex_text.lstrip('#'), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0)


def coverage(d):
    return clamp(0.5 - d)


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


# --- signed distances ---

def sd_round_rect(x, y, cx, cy, hx, hy, r):
    qx = abs(x - cx) - (hx - r)
    qy = abs(y - cy) - (hy - r)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def sd_ellipse_approx(x, y, cx, cy, rx, ry):
    # Scaled circle distance: good enough for the small, nearly round ellipses drawn here.
    k = min(rx, ry)
    return (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k


def sd_segment(x, y, ax, ay, bx, by):
    px, py = x - ax, y - ay
    dx, dy = bx - ax, by - ay
    h = clamp((px * dx + py * dy) / (dx * dx + dy * dy))
    return math.hypot(px - dx * h, py - dy * h)


def sd_heart(x, y, cx, cy, size):
    # Unit heart with its tip at the origin and its lobes up to about 1.1, y pointing up.
    px = abs((x - cx) / size)
    py = (cy - y) / size + 0.55
    if py + px > 1.0:
        d = math.hypot(px - 0.25, py - 0.75) - math.sqrt(2.0) / 4.0
    else:
        a = (px) ** 2 + (py - 1.0) ** 2
        m = 0.5 * max(px + py, 0.0)
        b = (px - m) ** 2 + (py - m) ** 2
        d = math.sqrt(min(a, b)) * (1.0 if px - py > 0 else -1.0)
    return d * size


def sd_star5(x, y, cx, cy, r, inner, angle=0.0):
    ca, sa = math.cos(angle), math.sin(angle)
    px = (x - cx) * ca - (y - cy) * sa
    py = -((x - cx) * sa + (y - cy) * ca)
    k1x, k1y = 0.809016994375, -0.587785252292
    k2x, k2y = -k1x, k1y
    px = abs(px)
    d1 = max(k1x * px + k1y * py, 0.0)
    px -= 2 * d1 * k1x
    py -= 2 * d1 * k1y
    d2 = max(k2x * px + k2y * py, 0.0)
    px -= 2 * d2 * k2x
    py -= 2 * d2 * k2y
    px = abs(px)
    py -= r
    bax, bay = inner * -k1y - 0.0, inner * k1x - 1.0
    h = clamp((px * bax + py * bay) / (bax * bax + bay * bay), 0.0, r)
    s = 1.0 if py * bax - px * bay > 0 else -1.0
    return math.hypot(px - bax * h, py - bay * h) * s


# --- deterministic value noise ---

def _hash(ix, iy, seed):
    n = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    n = ((n ^ (n >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((n ^ (n >> 16)) & 0xFFFF) / 65535.0


def noise(x, y, seed=0):
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    ux, uy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = _hash(ix, iy, seed)
    b = _hash(ix + 1, iy, seed)
    c = _hash(ix, iy + 1, seed)
    d = _hash(ix + 1, iy + 1, seed)
    return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy


class Canvas:
    def __init__(self, width, height, color=(0.0, 0.0, 0.0)):
        self.width = width
        self.height = height
        self.px = [[color] * width for _ in range(height)]
        self.keyed = [[False] * width for _ in range(height)]

    def _box(self, box):
        if box is None:
            return 0, 0, self.width, self.height
        x0, y0, x1, y1 = box
        return (max(0, int(math.floor(x0))), max(0, int(math.floor(y0))),
                min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1))))

    def shade(self, fn, box=None):
        """Sets every pixel in the box to fn(x, y) at the pixel centre."""
        x0, y0, x1, y1 = self._box(box)
        for y in range(y0, y1):
            row = self.px[y]
            for x in range(x0, x1):
                row[x] = fn(x + 0.5, y + 0.5)

    def paint(self, sdf, color, alpha=1.0, box=None):
        """Lays a colour over the pixels inside the shape sdf(x, y), edges anti-aliased.
        color may be a function of (x, y)."""
        x0, y0, x1, y1 = self._box(box)
        for y in range(y0, y1):
            row = self.px[y]
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                a = coverage(sdf(cx, cy)) * alpha
                if a > 0.0:
                    c = color(cx, cy) if callable(color) else color
                    row[x] = mix(row[x], c, a)

    def glow(self, sdf, color, radius, strength=1.0, box=None):
        """A soft light around a shape: falls off with the distance outside it."""
        x0, y0, x1, y1 = self._box(box)
        for y in range(y0, y1):
            row = self.px[y]
            for x in range(x0, x1):
                d = max(sdf(x + 0.5, y + 0.5), 0.0)
                a = strength * math.exp(-d / radius)
                if a > 0.004:
                    c = row[x]
                    row[x] = (min(1.0, c[0] + color[0] * a), min(1.0, c[1] + color[1] * a),
                              min(1.0, c[2] + color[2] * a))

    def cut_key(self, inside):
        """Makes the pixels whose centre lies inside the opening exactly the colour key."""
        for y in range(self.height):
            for x in range(self.width):
                if inside(x + 0.5, y + 0.5):
                    self.px[y][x] = KEY
                    self.keyed[y][x] = True

    def to_bytes(self, x, y):
        if self.keyed[y][x]:
            return 255, 0, 255
        r, g, b = (int(round(clamp(c) * 255)) for c in self.px[y][x])
        if (r, g, b) == (255, 0, 255):
            b = 254   # only the opening may carry the key exactly
        return r, g, b

    def save_bmp(self, path):
        stride = (self.width * 3 + 3) & ~3
        pad = b'\0' * (stride - self.width * 3)
        rows = []
        for y in range(self.height - 1, -1, -1):   # bottom-up
            row = bytearray()
            for x in range(self.width):
                r, g, b = self.to_bytes(x, y)
                row += bytes((b, g, r))
            rows.append(bytes(row) + pad)
        image = b''.join(rows)
        header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(image), 0, 0, 14 + 40)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(image),
                           2835, 2835, 0, 0)
        with open(path, 'wb') as f:
            f.write(header + info + image)


def run_picture_script(argv, usage, write):
    """The command line of a picture script: one argument, the folder the pictures go to (made
    when missing), handed to write(folder). -h or --help prints the usage and succeeds; any other
    command line prints it and fails with 2. Returns the exit code."""
    if len(argv) != 2 or argv[1] in ('-h', '--help'):
        print(usage.strip())
        return 0 if len(argv) == 2 else 2
    os.makedirs(argv[1], exist_ok=True)
    write(argv[1])
    return 0
