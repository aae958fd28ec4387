#!/usr/bin/env python3
"""Checks the committed demo swatch file: it must be exactly what its generator writes today, and
it must read as a well-formed swatch file holding every web-safe colour.

Usage: check_demo_swatch.py GENERATOR.py DEMO.aco
"""

import importlib.util
import itertools
import struct
import sys


def load_generator(path):
    spec = importlib.util.spec_from_file_location("make_demo_swatch", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def problems(generator, committed):
    found = []
    if committed != generator.swatch_file(generator.colours()):
        found.append("differs from what the generator writes; run the generator again")

    if len(committed) < 4 or (len(committed) - 4) % 10:
        return found + [f"{len(committed)} bytes is not a header and whole records"]
    version, count = struct.unpack_from(">HH", committed)
    records = [struct.unpack_from(">HHHHH", committed, 4 + 10 * i) for i in range(count)]
    if version != 1:
        found.append(f"version {version}, expected 1")
    if count != (len(committed) - 4) // 10:
        found.append(f"header counts {count} records, the file holds {(len(committed) - 4) // 10}")

    rgb = set()
    for space, red, green, blue, extra in records:
        if space != 0 or extra != 0:
            found.append(f"record {space, red, green, blue, extra} is not plain RGB")
        rgb.add((red >> 8, green >> 8, blue >> 8))
    steps = [0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF]
    missing = set(itertools.product(steps, repeat=3)) - rgb
    if missing:
        found.append(f"{len(missing)} web-safe colours missing, e.g. {sorted(missing)[0]}")
    greys = {c for c in rgb if c[0] == c[1] == c[2] and c[0] not in steps}
    if len(greys) < 4:
        found.append(f"only {len(greys)} greys between the web-safe steps")
    if len(rgb) != count:
        found.append("some colours appear twice")
    return found


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    with open(argv[2], "rb") as demo:
        committed = demo.read()
    found = problems(load_generator(argv[1]), committed)
    for problem in found:
        print(f"{argv[2]}: {problem}")
    if found:
        sys.exit(1)
    print(f"{argv[2]}: {len(committed)} bytes as generated")


if __name__ == "__main__":
    main(sys.argv)
