"""Tiny PNG and BMP writer on the standard library only, for the skin generator."""
import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _png(width, height, color_type, bit_depth, raw_rows, extra_chunks=()):
    header = struct.pack(">IIBBBBB", width, height, bit_depth, color_type, 0, 0, 0)
    data = b"".join(b"\x00" + row for row in raw_rows)
    out = b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
    for kind, payload in extra_chunks:
        out += _chunk(kind, payload)
    out += _chunk(b"IDAT", zlib.compress(data, 9)) + _chunk(b"IEND", b"")
    return out


class Image:
    """RGBA canvas, straight (not premultiplied) alpha; pixels[y][x] = (r, g, b, a)."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, rgba):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = rgba

    def get(self, x, y):
        return self.pixels[y][x]

    def fill(self, x, y, w, h, rgba):
        for yy in range(max(0, y), min(self.height, y + h)):
            row = self.pixels[yy]
            for xx in range(max(0, x), min(self.width, x + w)):
                row[xx] = rgba

    def blend(self, x, y, rgba):
        """Source-over of a straight-alpha colour onto the canvas."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            return
        r, g, b, a = rgba
        dr, dg, db, da = self.pixels[y][x]
        sa, daf = a / 255.0, da / 255.0
        oa = sa + daf * (1 - sa)
        if oa <= 0:
            self.pixels[y][x] = (0, 0, 0, 0)
            return
        mix = lambda s, d: int(round((s * sa + d * daf * (1 - sa)) / oa))
        self.pixels[y][x] = (mix(r, dr), mix(g, dg), mix(b, db), int(round(oa * 255)))

    def paste(self, src, x, y):
        for yy in range(src.height):
            for xx in range(src.width):
                self.put(x + xx, y + yy, src.pixels[yy][xx])

    def save_rgba(self, path):
        rows = [bytes(c for p in row for c in p) for row in self.pixels]
        _write(path, _png(self.width, self.height, 6, 8, rows))

    def save_rgb(self, path):
        rows = [bytes(c for p in row for c in p[:3]) for row in self.pixels]
        _write(path, _png(self.width, self.height, 2, 8, rows))

    def save_bmp24(self, path):
        stride = (self.width * 3 + 3) & ~3
        body = b""
        for row in reversed(self.pixels):
            line = bytes(c for p in row for c in (p[2], p[1], p[0]))
            body += line + b"\x00" * (stride - len(line))
        header = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
        filehdr = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 54)
        _write(path, filehdr + header + body)


def save_indexed(path, width, height, palette, indices, bit_depth=8):
    """indices[y][x] into palette [(r, g, b)]; bit depth 1, 2, 4 or 8."""
    rows = []
    per_byte = 8 // bit_depth
    for row in indices:
        out = bytearray()
        for i in range(0, width, per_byte):
            v = 0
            for j in range(per_byte):
                idx = row[i + j] if i + j < width else 0
                v = (v << bit_depth) | idx
            out.append(v)
        rows.append(bytes(out))
    plte = b"".join(bytes(c) for c in palette)
    _write(path, _png(width, height, 3, bit_depth, rows, [(b"PLTE", plte)]))


def _write(path, data):
    import os
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
