#!/usr/bin/env python3
"""Writes the bitmap button's test images: 24x16 pixels, 24 bits, named after the button's caption.

The normal image is red on its left half and yellow on its right half, so that a copy that is
shifted, stretched or mirrored shows; the pressed image is green, the disabled one blue. There is
deliberately no focused image.
"""
import struct
import sys
from pathlib import Path

WIDTH, HEIGHT = 24, 16
RED, YELLOW, GREEN, BLUE = (255, 0, 0), (255, 255, 0), (0, 255, 0), (0, 0, 255)


def bmp(pixel_at):
    row_size = (WIDTH * 3 + 3) & ~3
    rows = []
    for y in reversed(range(HEIGHT)):   # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel_at(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main(out_dir):
    out = Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    images = {
        "probebtnU.bmp": lambda x, y: RED if x < WIDTH // 2 else YELLOW,
        "probebtnD.bmp": lambda x, y: GREEN,
        "probebtnX.bmp": lambda x, y: BLUE,
    }
    for name, pixel_at in images.items():
        (out / name).write_bytes(bmp(pixel_at))


if __name__ == "__main__":
    main(sys.argv[1])
