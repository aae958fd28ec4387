#!/usr/bin/env python3
"""Writes tintwell.ico: the program icon at 16, 24, 32, 48 and 256 pixels.

The picture is a fan of three paint chips (red, yellow, blue), each with a white label strip,
drawn from rectangles so that every size comes from the same few numbers. The small sizes are
16-colour bitmaps with AND masks, as every Windows version reads them; the 256-pixel one, which
only Explorer's large views use, is a PNG with an alpha channel. The output depends on nothing
but this file, so every build produces the same bytes.

Usage: make_icon.py OUTPUT.ico
"""

import struct
import sys
import zlib

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREY, SILVER, RED, YELLOW, BLUE, WHITE = 0, 8, 7, 9, 11, 12, 15
TRANSPARENT = None
SIZES = [16, 24, 32, 48, 256]
PNG_SIZES = {256}

# Chips from back to front: (left, top) of each chip, with the chip's width, height, label
# height, shadow offset and line width. The label shows a grey "name" line when it is tall
# enough. The 32-pixel design is the master; 16 pixels is drawn by hand, since halving it would
# lose the borders.
MASTER = dict(chips=[(1, 1), (8, 6), (15, 11)], width=16, height=20, label=6, shadow=1, line=1)
SMALL = dict(chips=[(0, 0), (4, 3), (8, 6)], width=8, height=10, label=3, shadow=0, line=1)
CHIP_COLOURS = [RED, YELLOW, BLUE]


def layout(size):
    if size == 16:
        return SMALL

    def scaled(n):
        return max(1, round(n * size / 32)) if n else 0

    return dict({k: scaled(v) for k, v in MASTER.items() if k != "chips"},
                chips=[(scaled(x), scaled(y)) for x, y in MASTER["chips"]])


def draw(size):
    """Returns the picture as rows of palette indices (TRANSPARENT where the mask shows through)."""
    pixels = [[TRANSPARENT] * size for _ in range(size)]

    def fill(left, top, width, height, colour):
        for y in range(max(top, 0), min(top + height, size)):
            for x in range(max(left, 0), min(left + width, size)):
                pixels[y][x] = colour

    p = layout(size)
    w, h, label, shadow, line = p["width"], p["height"], p["label"], p["shadow"], p["line"]
    for (left, top), colour in zip(p["chips"], CHIP_COLOURS):
        if shadow:
            fill(left + shadow, top + shadow, w, h, GREY)
        fill(left, top, w, h, BLACK)
        fill(left + line, top + line, w - 2 * line, h - 2 * line - label, colour)
        fill(left + line, top + h - line - label, w - 2 * line, label, WHITE)
        if label > 4 * line:
            fill(left + 3 * line, top + h - line - label + 2 * line, w - 6 * line, 2 * line, SILVER)
    return pixels


def bitmap_image(size):
    """A 16-colour image: BITMAPINFOHEADER, palette, 4-bit colour rows, 1-bit AND rows, bottom-up."""
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)

    def padded(row):
        return row + b"\0" * (-len(row) % 4)

    colour_rows = b""
    mask_rows = b""
    for row in reversed(pixels):
        indices = [BLACK if p is TRANSPARENT else p for p in row]
        colour_rows += padded(bytes(indices[i] << 4 | indices[i + 1] for i in range(0, size, 2)))
        bits = 0
        for p in row:
            bits = bits << 1 | (p is TRANSPARENT)
        mask_rows += padded(bits.to_bytes(size // 8, "big"))
    return header + palette + colour_rows + mask_rows


def png_image(size):
    """An 8-bit RGBA PNG, top-down rows without filtering; zlib at a fixed level."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    rows = b""
    for row in draw(size):
        rows += b"\0" + b"".join(bytes((0, 0, 0, 0)) if p is TRANSPARENT
                                 else bytes(PALETTE[p] + (255,)) for p in row)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def icon_file(sizes):
    images = [png_image(s) if s in PNG_SIZES else bitmap_image(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = len(data) + 16 * len(images)
    for size, image in zip(sizes, images):
        colours, bits = (0, 32) if size in PNG_SIZES else (16, 4)
        # A width or height of 256 is written as 0.
        data += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                            len(image), offset)
        offset += len(image)
    return data + b"".join(images)


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    with open(argv[1], "wb") as out:
        out.write(icon_file(SIZES))


if __name__ == "__main__":
    main(sys.argv)
