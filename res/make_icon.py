#!/usr/bin/env python3
"""Writes tintwell.ico: the program icon at 32x32 and 16x16, 16 colours, with AND masks.

The picture is a fan of three paint chips (red, yellow, blue), each with a white label strip,
drawn from rectangles so that both sizes come from the same few numbers. The output depends on
nothing but this file, so every build produces the same bytes.

Usage: make_icon.py OUTPUT.ico
"""

import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREY, SILVER, RED, YELLOW, BLUE, WHITE = 0, 8, 7, 9, 11, 12, 15
TRANSPARENT = None

# Chips from back to front: (left, top) of each chip, with the chip's width, height, label
# height and shadow offset per size. The label shows a grey "name" line when it is tall enough.
LAYOUTS = {
    32: dict(chips=[(1, 1), (8, 6), (15, 11)], width=16, height=20, label=6, shadow=1),
    16: dict(chips=[(0, 0), (4, 3), (8, 6)], width=8, height=10, label=3, shadow=0),
}
CHIP_COLOURS = [RED, YELLOW, BLUE]


def draw(size):
    """Returns the picture as rows of palette indices (TRANSPARENT where the mask shows through)."""
    layout = LAYOUTS[size]
    pixels = [[TRANSPARENT] * size for _ in range(size)]

    def fill(left, top, width, height, colour):
        for y in range(max(top, 0), min(top + height, size)):
            for x in range(max(left, 0), min(left + width, size)):
                pixels[y][x] = colour

    w, h, label, shadow = layout["width"], layout["height"], layout["label"], layout["shadow"]
    for (left, top), colour in zip(layout["chips"], CHIP_COLOURS):
        if shadow:
            fill(left + shadow, top + shadow, w, h, GREY)
        fill(left, top, w, h, BLACK)
        fill(left + 1, top + 1, w - 2, h - 2 - label, colour)
        fill(left + 1, top + h - 1 - label, w - 2, label, WHITE)
        if label >= 5:
            fill(left + 3, top + h - 1 - label + 2, w - 6, 2, SILVER)
    return pixels


def icon_image(size):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colour rows, 1-bit AND rows, bottom-up."""
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


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = len(data) + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return data + b"".join(images)


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    with open(argv[1], "wb") as out:
        out.write(icon_file([32, 16]))


if __name__ == "__main__":
    main(sys.argv)
