#!/usr/bin/env python3
"""Draws the Corvane logo and writes it as the program icon and the dialog bitmap.

The mark is a thick "C" (the device) with a red node at its centre and three
signal arcs leaving through the opening of the C (the serial link talking).
A white glint sits on the upper left of the C, so the picture is not the same
upside down.

    logo.ico  32 x 32, 16 colours (the standard 16-colour palette), XOR + AND mask
    logo.bmp  55 x 35, 8 bits per pixel with its own 256-entry palette

Usage:
    draw_logo.py [--out-dir DIR]   write both files (default: shared/res of the repository)
    draw_logo.py --check [DIR]     exit 1 when the files in DIR differ from what this draws

Python 3 standard library only.
"""

import argparse
import math
import pathlib
import struct
import sys

# --- The mark, in units of the C's centreline radius scaled by R -----------------------

RING_RADIUS = 0.8        # centreline of the C
RING_HALF_WIDTH = 0.2
RING_GAP_DEG = 55.0      # the C is open between -55 and +55 degrees (to the right)
NODE_RADIUS = 0.2
GLINT = (0.8, 118.0, 152.0, 0.06)  # centreline radius, from/to degrees, half width
ARC_HALF_WIDTH = 0.07
SIGNAL_ARCS = [          # (centreline radius, half angle in degrees)
    (0.42, 38.0),
    (0.80, 24.0),
    (1.18, 22.0),
]

OUTLINE, BODY, GLINT_ROLE, NODE_EDGE, NODE, SIGNAL = range(6)


def distance_to_arc(r, angle, radius, start_deg, end_deg):
    """Distance from a point in polar form (angle in degrees, -180..180] to a circular
    arc running counter-clockwise from start_deg to end_deg, with round ends."""
    span = (end_deg - start_deg) % 360.0
    if (angle - start_deg) % 360.0 <= span:
        return abs(r - radius)
    best = float("inf")
    for end in (start_deg, end_deg):
        ex = radius * math.cos(math.radians(end))
        ey = radius * math.sin(math.radians(end))
        px = r * math.cos(math.radians(angle))
        py = r * math.sin(math.radians(angle))
        best = min(best, math.hypot(px - ex, py - ey))
    return best


def role_at(x, y, cx, cy, scale):
    """What of the mark covers the point (x, y), image coordinates with y downward,
    or None for background. One pixel of outline is 1 / scale in mark units."""
    dx = (x - cx) / scale
    dy = (cy - y) / scale  # mark y points up
    r = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(dy, dx))
    edge = 1.0 / scale

    if r <= NODE_RADIUS:
        return NODE_EDGE if r > NODE_RADIUS - edge else NODE
    for radius, half_angle in SIGNAL_ARCS:
        if distance_to_arc(r, angle, radius, -half_angle, half_angle) <= ARC_HALF_WIDTH:
            return SIGNAL
    d = distance_to_arc(r, angle, RING_RADIUS, RING_GAP_DEG, 360.0 - RING_GAP_DEG)
    if d <= RING_HALF_WIDTH:
        glint_radius, g_from, g_to, g_half = GLINT
        if distance_to_arc(r, angle, glint_radius, g_from, g_to) <= g_half:
            return GLINT_ROLE
        return OUTLINE if d > RING_HALF_WIDTH - edge else BODY
    return None


# --- The icon ----------------------------------------------------------------------------

# The standard 16-colour palette, in the order Windows uses for 4-bit icons.
STANDARD_16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# At 32 pixels the node is too small for an outline of its own.
ICON_INDEX = {OUTLINE: 4, BODY: 12, GLINT_ROLE: 15, NODE_EDGE: 9, NODE: 9, SIGNAL: 6}
ICON_SIZE = 32
ICON_CENTRE = (14.5, 16.0)
ICON_SCALE = 13.0 / (RING_RADIUS + RING_HALF_WIDTH)  # outer edge of the C 13 pixels out


def icon_pixels():
    """Rows from the top: a palette index per pixel, or None where transparent."""
    rows = []
    for y in range(ICON_SIZE):
        row = []
        for x in range(ICON_SIZE):
            role = role_at(x + 0.5, y + 0.5, *ICON_CENTRE, ICON_SCALE)
            row.append(None if role is None else ICON_INDEX[role])
        rows.append(row)
    return rows


def row_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def pack_row(values, bits, stride):
    """Packs small integers most significant bits first, padded to stride bytes."""
    out = bytearray(stride)
    per_byte = 8 // bits
    for i, v in enumerate(values):
        shift = 8 - bits * (i % per_byte + 1)
        out[i // per_byte] |= v << shift
    return bytes(out)


def info_header(width, height, bits, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size,
                       0, 0, colours_used, 0)


def rgbquads(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def build_ico():
    rows = icon_pixels()
    xor_stride = row_stride(ICON_SIZE, 4)
    and_stride = row_stride(ICON_SIZE, 1)
    # Transparent pixels: black in the colour bits, 1 in the mask (screen shows through).
    xor_bits = b"".join(pack_row([v or 0 for v in row], 4, xor_stride) for row in reversed(rows))
    and_bits = b"".join(pack_row([1 if v is None else 0 for v in row], 1, and_stride)
                        for row in reversed(rows))
    dib = (info_header(ICON_SIZE, ICON_SIZE * 2, 4, len(xor_bits) + len(and_bits), 0)
           + rgbquads(STANDARD_16) + xor_bits + and_bits)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", ICON_SIZE, ICON_SIZE, 16, 0, 1, 4, len(dib), 6 + 16)
    return directory + entry + dib


# --- The bitmap --------------------------------------------------------------------------

BMP_WIDTH, BMP_HEIGHT = 55, 35
BMP_CENTRE = (25.5, 17.5)
BMP_SCALE = 15.5 / (RING_RADIUS + RING_HALF_WIDTH)
BACKGROUND = (0xC0, 0xC0, 0xC0)  # the dialog face colour, so the picture sits on it
SUPERSAMPLE = 4
BODY_TOP, BODY_BOTTOM = (0x3A, 0x7B, 0xE8), (0x14, 0x2E, 0x8A)
BMP_COLOURS = {
    OUTLINE: (0x0A, 0x14, 0x50), GLINT_ROLE: (0xF4, 0xF8, 0xFF), NODE_EDGE: (0x70, 0x00, 0x00),
    NODE: (0xE0, 0x20, 0x20), SIGNAL: (0x00, 0x8C, 0x8C),
}


def bmp_colour(role, y):
    if role is None:
        return BACKGROUND
    if role == BODY:  # the C is lit from above
        t = min(max((y - (BMP_CENTRE[1] - BMP_SCALE)) / (2 * BMP_SCALE), 0.0), 1.0)
        return tuple(round(a + (b - a) * t) for a, b in zip(BODY_TOP, BODY_BOTTOM))
    return BMP_COLOURS[role]


def bmp_true_colour():
    """Rows from the top of (r, g, b), each pixel the mean of SUPERSAMPLE^2 samples."""
    rows = []
    n = SUPERSAMPLE
    for y in range(BMP_HEIGHT):
        row = []
        for x in range(BMP_WIDTH):
            total = [0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    px, py = x + (sx + 0.5) / n, y + (sy + 0.5) / n
                    c = bmp_colour(role_at(px, py, *BMP_CENTRE, BMP_SCALE), py)
                    for i in range(3):
                        total[i] += c[i]
            row.append(tuple(round(t / (n * n)) for t in total))
        rows.append(row)
    return rows


def median_cut(colours, count):
    """Up to count representative colours of a {colour: occurrences} table."""
    boxes = [sorted(colours.items())]
    while len(boxes) < count:
        def spread(box):
            return max(max(c[0][i] for c in box) - min(c[0][i] for c in box) for i in range(3))
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=spread)
        channel = max(range(3), key=lambda i: max(c[0][i] for c in box) - min(c[0][i] for c in box))
        box.sort(key=lambda c: (c[0][channel], c[0]))
        half = len(box) // 2
        boxes.remove(box)
        boxes += [box[:half], box[half:]]
    palette = []
    for box in boxes:
        weight = sum(n for _, n in box)
        palette.append(tuple(round(sum(c[i] * n for c, n in box) / weight) for i in range(3)))
    return sorted(palette)


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def build_bmp():
    rows = bmp_true_colour()
    counts = {}
    for row in rows:
        for c in row:
            if c != BACKGROUND:
                counts[c] = counts.get(c, 0) + 1
    # Entry 0 is the background exactly, so the picture meets the dialog face without a seam.
    palette = [BACKGROUND] + median_cut(counts, 255)
    lookup = {c: nearest(palette, c) for c in set(counts) | {BACKGROUND}}
    lookup[BACKGROUND] = 0
    stride = row_stride(BMP_WIDTH, 8)
    bits = b"".join(bytes(lookup[c] for c in row).ljust(stride, b"\0") for row in reversed(rows))
    palette_bytes = rgbquads(palette + [(0, 0, 0)] * (256 - len(palette)))
    header = info_header(BMP_WIDTH, BMP_HEIGHT, 8, len(bits), 256)
    offset = 14 + len(header) + len(palette_bytes)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return file_header + header + palette_bytes + bits


# --- Command line -----------------------------------------------------------------------

def main(argv):
    default_dir = pathlib.Path(__file__).resolve().parents[2] / "shared" / "res"
    parser = argparse.ArgumentParser(description="Draw the Corvane logo files.")
    parser.add_argument("--out-dir", type=pathlib.Path, default=default_dir)
    parser.add_argument("--check", nargs="?", const=default_dir, type=pathlib.Path,
                        metavar="DIR", help="compare with the files in DIR instead of writing")
    args = parser.parse_args(argv)
    pictures = {"logo.ico": build_ico(), "logo.bmp": build_bmp()}
    if args.check:
        stale = [name for name, data in pictures.items()
                 if not (args.check / name).is_file() or (args.check / name).read_bytes() != data]
        for name in stale:
            print(f"{args.check / name} is not what draw_logo.py draws; run it again", file=sys.stderr)
        return 1 if stale else 0
    args.out_dir.mkdir(parents=True, exist_ok=True)
    for name, data in pictures.items():
        (args.out_dir / name).write_bytes(data)
        print(f"wrote {args.out_dir / name} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
