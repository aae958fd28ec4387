#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: small palette files of each shape the readers tell apart.

Run from anywhere: ./fuzz/make_corpus.py. It replaces fuzz/corpus/*.{aco,ase,act,gpl}.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent / "corpus"


def header(version, count):
    return struct.pack(">HH", version, count)


def record(space, c1, c2, c3, c4=0):
    return struct.pack(">5H", space, c1, c2, c3, c4)


def rgb(r, g, b):
    return record(0, r << 8, g << 8, b << 8)


def name(text, length=None):
    units = text.encode("utf-16-be") + b"\0\0"
    count = len(units) // 2 if length is None else length
    return struct.pack(">I", count) + units


three = rgb(0x12, 0x34, 0x56) + rgb(0xFF, 0xFF, 0xFF) + rgb(0, 0, 0)
ten = b"".join(rgb(i * 25, 255 - i * 25, i * 7) for i in range(10))
named = (rgb(0x12, 0x34, 0x56) + name("Teal") + rgb(0xFF, 0, 0) + name("")
         + rgb(1, 2, 3) + name("A longer name to cross a chunk boundary" * 2))

SEEDS = {
    "plain-three.aco": header(1, 3) + three,
    "plain-ten.aco": header(1, 10) + ten,
    "plain-trailing-bytes.aco": header(1, 3) + three + b"\x01\x02\x03",
    "plain-too-few.aco": header(1, 5) + three,
    "plain-too-many.aco": header(1, 2) + three,
    "plain-flagged.aco": header(1, 4) + record(7, 1, 2, 3) + record(2, 0xFFFF, 0, 0)
    + record(4096, 0, 0, 0) + rgb(9, 9, 9),
    "count-zero.aco": header(1, 0) + three,
    "short-header.aco": b"\x00\x01\x00",
    "named.aco": header(2, 3) + named,
    "named-cut-short.aco": header(2, 3) + named[:-5],
    "named-huge-length.aco": header(2, 2) + rgb(1, 1, 1) + name("x", 0x80000000),
    "plain-then-named.aco": header(1, 3) + three + header(2, 3) + named,
    "plain-then-fewer-named.aco": header(1, 3) + three + header(2, 2) + named,
    "plain-then-named-cut-short.aco": header(1, 3) + three + header(2, 3) + named[:-5],
    "plain-then-named-scripts.aco": header(1, 2) + three[:20] + header(2, 2)
    + rgb(1, 1, 1) + name("Κυανό 天蓝色 \U0001F600" * 4) + rgb(2, 2, 2) + name("x", 0),
}


# Exchange files: blocks of a type and a length; names count their closing zero.
def ase_name(text):
    units = text.encode("utf-16-be") + b"\0\0"
    return struct.pack(">H", len(units) // 2) + units


def block(kind, contents):
    return struct.pack(">HI", kind, len(contents)) + contents


def colour(text, model, *values, kind=2):
    return block(0x0001, ase_name(text) + model + struct.pack(">%df" % len(values), *values)
                 + struct.pack(">H", kind))


def ase(*blocks, count=None, major=1):
    return (b"ASEF" + struct.pack(">HHI", major, 0, len(blocks) if count is None else count)
            + b"".join(blocks))


group_start = block(0xC001, ase_name("Blues"))
group_end = block(0xC002, b"")
models = [colour("Sky", b"RGB ", 0.2, 0.4, 0.6), colour("Ink", b"CMYK", 0.1, 0.2, 0.3, 0.4),
          colour("Lab", b"LAB ", 0.5, -20.0, 30.0), colour("Ash", b"Gray", 0.25),
          colour("Odd", b"HSV ", 1.0)]
act_table = bytes(i * 7 % 256 for i in range(768))

SEEDS.update({
    "models-in-groups.ase": ase(group_start, *models[:3], group_end, *models[3:]),
    "group-without-end.ase": ase(group_start, models[0], block(0xC001, ase_name("Reds")),
                                 models[1]),
    "unknown-block.ase": ase(block(0x0042, b"what this is, nobody knows"), models[0]),
    "empty-names.ase": ase(block(0x0001, b"\0\0RGB " + b"\0" * 14), block(0xC001, b""),
                           colour("", b"Gray", 1.0)),
    "cut-short.ase": ase(group_start, *models)[:-7],
    "groups-only.ase": ase(group_start, group_end),
    "huge-count.ase": ase(models[0], count=0x7FFFFFFF),
    "long-block.ase": ase(block(0x0001, ase_name("x") + b"Gray" + b"\0" * 40)),
    "version-2.ase": ase(models[0], major=2),
    "plain.act": act_table,
    "counted.act": act_table + struct.pack(">HH", 16, 3),
    "count-zero.act": act_table + struct.pack(">HH", 0, 0xFFFF),
    "header-and-comments.gpl": b"GIMP Palette\nName: Seeds\nColumns: 4\n#\n# a comment\n\n"
    b"255   0   0\tRed\n  0 128 255 Sky blue\n1\t2\t3\n",
    "bom-and-crlf.gpl": b"\xEF\xBB\xBFGIMP Palette\r\n0 0 0 Black\r\n255 255 255 White",
    "utf8-names.gpl": "GIMP Palette\n1 1 1 Κυανό 天蓝色 \U0001F600\n2 2 2 a".encode()
    + b"\xC3(\n",
    "out-of-range.gpl": b"GIMP Palette\n1 2 3\n1 256 3\n",
    "bad-line.gpl": b"GIMP Palette\n1 2 3\n1 2\n",
    "no-colours.gpl": b"GIMP Palette\nName: Empty\n",
})

if __name__ == "__main__":
    HERE.mkdir(exist_ok=True)
    for pattern in ("*.aco", "*.ase", "*.act", "*.gpl"):
        for old in HERE.glob(pattern):
            old.unlink()
    for file_name, data in SEEDS.items():
        (HERE / file_name).write_bytes(data)
