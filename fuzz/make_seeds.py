#!/usr/bin/env python3
"""Writes the starting corpus of every fuzz target to fuzz/corpus/<target>/ (run from anywhere).

Each seed is the parameters a target reads (little-endian 32-bit fields, see fuzz/*.cpp) followed
by its data, chosen to start the fuzzer at the cases that matter: every pixel size, vector-step
lengths and tails, the ends of the int range, the texts of the string table.
"""
import hashlib
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def u32(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)


def write(target, seeds):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for seed in seeds:
        name = hashlib.sha1(seed).hexdigest()[:16]
        with open(os.path.join(folder, name), "wb") as f:
            f.write(seed)


ramp = bytes(range(256)) * 2

# pixels: op 0 merge (u-1, count, offset, in place, premultiplied), 1 fill and widen, 2 row blends
write("pixels", [u32(0, u - 1, n, off, place, 1) + ramp
                 for u, n, off, place in [(1, 33, 1, 0), (2, 17, 3, 1), (3, 97, 5, 2), (4, 9, 0, 0), (3, 32, 0, 0)]] +
      [u32(0, 3, 41, 7, 0, 0) + ramp,
       u32(1, 2, 49, 3, 0x44332211) + ramp,
       u32(2, 13, 3, 2, 1, 3, 1, 2) + ramp,
       u32(2, 7, 2, 0, 0, 2, 0x7FFFFFFF, 0xFFFFFFFF) + ramp,
       # op 3 blocks: buffer W-1, H-1, u-1, block x, y, w, h; display rows-1, bytesPerRow-1, x0+2, y0+2
       u32(3, 12, 8, 2, 3, 2, 7, 5, 6, 47, 4, 3) + ramp,
       u32(3, 39, 39, 3, 0, 0, 40, 40, 39, 199, 2, 2) + ramp])

# settings: the field count, then UTF-16 text as the string table and settings files hold it
texts = ["0x808080,0xFFFFFF", "0x000000,0xc8c8c8,0x000000,0x000000,0xc8c8c8", "2,20,7,7,3,3,10,15",
         "0x000000,0xd6FFFF,0x000000,0x808080", " -12", "99999999999999999999,-0x1", "0x1 ,2", "9"]
write("settings", [u32(9) + t.encode("utf-16-le") for t in texts])

# geometry: 1 tiles (rect, tile, nine-cell cell), 0 runs (width, height, pad, bottom-up, key, tolerance)
write("geometry", [u32(1, 10, 20, 67, 51, 7, 5, 5, 7),
                   u32(1, 0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF, 3, 3, 0x2AAAAAAA, 1),
                   u32(1, 0x80000000, 0, 0x7FFFFFFF, 2, 0x7FFFFFFF, 1, 3, 3),
                   u32(0, 13, 3, 4, 1, 0xFF, 0x10) + ramp,
                   u32(0, 64, 2, 0, 0, 0, 0) + bytes(600)])

# timecode: rate pick (9 = raw double), index, lower, upper, current member, direction, members, first digit
write("timecode", [u32(3, 17982, 0, 10789199, 1, 1, 0, 9, 5, 0, 1),
                   u32(3, 0x7FFFFFFF, 0, 0x7FFFFFFF, 3, 1, 99, 59, 59, 29, 0),
                   u32(8, 35999999, 100, 35999999, 0, 0, 0, 0, 0, 0, 1),
                   u32(9) + struct.pack("<d", 0.0005) + u32(12345, 0, 99, 2, 1, 1, 2, 3, 4, 1),
                   u32(2, 0x80000000, 0x80000000, 0x80000000, 2, 0, 0, 0, 5, 0, 0)])

# payload: a block as another program hands it over (text, thumbnail record, reference record)
write("payload", [b"", b"\0", b"clip one\0", b"no terminator", b"two\0texts\0", bytes(range(1, 104)) + b"\0",
                  bytes(104), bytes(103), bytes(range(32)), bytes(31), bytes(33), b"\xff" * 32])
