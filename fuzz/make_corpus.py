#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: small swatch files of each shape the reader tells apart.

Run from anywhere: ./fuzz/make_corpus.py. It replaces fuzz/corpus/*.aco.
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

if __name__ == "__main__":
    HERE.mkdir(exist_ok=True)
    for old in HERE.glob("*.aco"):
        old.unlink()
    for file_name, data in SEEDS.items():
        (HERE / file_name).write_bytes(data)
