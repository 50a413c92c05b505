#!/usr/bin/env python3
"""Draws the Quenlix program icon: a red disc bearing a white serif capital H.

Usage: python3 scripts/make-icon.py OUT.ico [--png-preview DIR]

Only the standard library is used so the icon can be regenerated on any
machine, and the output is byte-identical on every run so the committed
Quenlix.ico only changes when the drawing does.
"""

import math
import os
import struct
import sys
import zlib

SIZES = (64, 48, 32, 16)

# Subsamples per pixel along each axis; 8x8 gives 65 coverage levels, which
# is more than enough for a smooth disc rim even at 16 px.
SUPERSAMPLE = 8

# The disc is shaded from a lighter red at the top to a deeper red at the
# bottom so it reads as a button rather than a flat dot. Larger sizes get a
# slightly darker rim so the disc stays separated from light backgrounds; at
# 16 px a rim would only muddy the anti-aliased edge.
RED_TOP = (232, 62, 56)
RED_BOTTOM = (190, 30, 34)
RIM = (168, 24, 28)
WHITE = (255, 255, 255)


def h_rectangles(size):
    """The H as axis-aligned rectangles (x0, y0, x1, y1) in pixels.

    Edges are snapped to whole pixels: anti-aliased stems smear into grey
    mush at 16 px, while crisp two-pixel stems stay legible.
    """
    s = size / 16.0

    def px(v):
        # Rounds a 16-px design coordinate to the pixel grid of this size.
        return float(int(math.floor(v * s + 0.5)))

    def span(v, minimum):
        # A length that never collapses below `minimum` whole pixels.
        return float(max(minimum, int(math.floor(v * s + 0.5))))

    top = px(4.0)
    bottom = size - top
    stem = span(2.25, 2)
    serif_h = span(1.0, 1)
    serif_out = span(1.0, 1)
    bar = span(2.0, 2)

    left = px(4.0)
    right = size - left
    mid = size / 2.0
    bar_top = float(int(math.floor(mid - bar / 2.0 + 0.5)))

    rects = [
        # Stems.
        (left, top, left + stem, bottom),
        (right - stem, top, right, bottom),
        # Crossbar.
        (left + stem, bar_top, right - stem, bar_top + bar),
    ]
    # Slab serifs on both sides of each stem, top and bottom.
    for x0, x1 in ((left, left + stem), (right - stem, right)):
        for y0 in (top, bottom - serif_h):
            rects.append((x0 - serif_out, y0, x1 + serif_out, y0 + serif_h))
    return rects


def render(size):
    """Returns rows of (r, g, b, a) tuples, top row first, straight alpha."""
    centre = size / 2.0
    # Half a pixel of breathing room keeps the anti-aliased rim from being
    # clipped by the image edge.
    radius = centre - 0.5
    rim_width = size / 32.0 if size >= 32 else 0.0
    rects = h_rectangles(size)

    n = SUPERSAMPLE
    offsets = [(i + 0.5) / n for i in range(n)]
    total = float(n * n)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r_sum = g_sum = b_sum = 0.0
            covered = 0
            for oy in offsets:
                y = py + oy
                dy = y - centre
                t = (y - (centre - radius)) / (2.0 * radius)
                t = min(1.0, max(0.0, t))
                fill = tuple(RED_TOP[c] + (RED_BOTTOM[c] - RED_TOP[c]) * t
                             for c in range(3))
                for ox in offsets:
                    x = px + ox
                    dx = x - centre
                    d = math.sqrt(dx * dx + dy * dy)
                    if d > radius:
                        continue
                    covered += 1
                    if any(x0 <= x < x1 and y0 <= y < y1
                           for x0, y0, x1, y1 in rects):
                        colour = WHITE
                    elif d > radius - rim_width:
                        colour = RIM
                    else:
                        colour = fill
                    r_sum += colour[0]
                    g_sum += colour[1]
                    b_sum += colour[2]
            if covered == 0:
                row.append((0, 0, 0, 0))
                continue
            alpha = int(math.floor(covered * 255.0 / total + 0.5))
            row.append((int(math.floor(r_sum / covered + 0.5)),
                        int(math.floor(g_sum / covered + 0.5)),
                        int(math.floor(b_sum / covered + 0.5)),
                        alpha))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit BI_RGB DIB with its AND mask, as stored inside an .ico.

    The header height is doubled because the XOR image and the AND mask are
    stacked; the mask is kept accurate for shells that ignore alpha.
    """
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIBs are bottom-up.
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico(images):
    """Packs (size, dib bytes) pairs into an .ico file."""
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def png(rows):
    """A minimal RGBA PNG, for eyeballing the result."""
    size = len(rows)

    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body +
                struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF))

    raw = bytearray()
    for row in rows:
        raw.append(0)  # Filter type None.
        for pixel in row:
            raw += bytes(pixel)
    ihdr = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            chunk(b'IEND', b''))


def main(argv):
    args = list(argv[1:])
    preview_dir = None
    if '--png-preview' in args:
        i = args.index('--png-preview')
        if i + 1 >= len(args):
            sys.stderr.write('--png-preview needs a directory\n')
            return 2
        preview_dir = args[i + 1]
        del args[i:i + 2]
    if len(args) != 1 or args[0].startswith('-'):
        sys.stderr.write(
            'usage: make-icon.py OUT.ico [--png-preview DIR]\n')
        return 2

    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, dib(rows)))
        if preview_dir is not None:
            os.makedirs(preview_dir, exist_ok=True)
            name = os.path.join(preview_dir, 'Quenlix-%d.png' % size)
            with open(name, 'wb') as f:
                f.write(png(rows))

    with open(args[0], 'wb') as f:
        f.write(ico(images))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
