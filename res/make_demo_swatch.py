#!/usr/bin/env python3
"""Writes demo.aco, the swatch file that `./dev run` opens: the 216 web-safe colours (every
channel one of 00, 33, 66, 99, CC, FF; red slowest, blue fastest) followed by the greys that lie
between the web-safe steps.

The file is a version 1 swatch file: a big-endian header (version 1, record count) and one
ten-byte record per colour, colour space 0 (RGB) with 16-bit components. Each component repeats
its 8-bit value in both bytes (0x33 becomes 0x3333), which is the 8-bit value scaled exactly to
0..65535; the reader uses only the high byte. The fourth component is 0.

Usage: make_demo_swatch.py OUTPUT.aco
"""

import struct
import sys

WEB_SAFE_STEPS = [0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF]
GREYS = [0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE]


def colours():
    web_safe = [(r, g, b) for r in WEB_SAFE_STEPS for g in WEB_SAFE_STEPS for b in WEB_SAFE_STEPS]
    return web_safe + [(v, v, v) for v in GREYS]


def swatch_file(rgb_list):
    data = struct.pack(">HH", 1, len(rgb_list))
    for r, g, b in rgb_list:
        data += struct.pack(">HHHHH", 0, r * 0x101, g * 0x101, b * 0x101, 0)
    return data


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    with open(argv[1], "wb") as out:
        out.write(swatch_file(colours()))


if __name__ == "__main__":
    main(sys.argv)
