"""Images of the imaging tests (test/imaging/) and of the imaging gallery page (gallery/imaging/)."""
import math
import os
import struct

from png import Image, _write, save_indexed

# Nine-cell test image: 3 x 3 cells of 10 x 10, one colour each, a white marker at each cell's
# top-left pixel so tiling phases show.
NINE = [
    [(200, 0, 0), (0, 200, 0), (0, 0, 200)],
    [(200, 200, 0), (0, 200, 200), (200, 0, 200)],
    [(100, 0, 0), (0, 100, 0), (0, 0, 100)],
]


def save_bmp8(path, width, height, palette, indices):
    """8-bit BMP, bottom-up, palette [(r, g, b)] of up to 256 entries."""
    stride = (width + 3) & ~3
    body = b""
    for row in reversed(indices):
        body += bytes(row) + b"\x00" * (stride - width)
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(body), 2835, 2835, len(palette), 0)
    offset = 14 + 40 + len(table)
    filehdr = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    _write(path, filehdr + header + table + body)


GREY = [(i, i, i) for i in range(256)]


def nine_cells(cell=10, alpha_rows=(255, 255, 255)):
    img = Image(3 * cell, 3 * cell)
    for row in range(3):
        for col in range(3):
            a = alpha_rows[row]
            img.fill(col * cell, row * cell, cell, cell, NINE[row][col] + (a,))
            img.put(col * cell, row * cell, (255, 255, 255, a))
    return img


def test_images(d):
    nine = nine_cells()
    nine.save_rgba(os.path.join(d, "nine30.png"))
    nine.save_rgb(os.path.join(d, "nine30rgb.png"))
    nine.save_bmp24(os.path.join(d, "nine30.bmp"))
    # Bottom row transparent: what lies under the top cells shows when they are left out.
    nine_cells(alpha_rows=(255, 255, 0)).save_rgba(os.path.join(d, "nine30holes.png"))

    # Cut with an alpha image: source alpha 255 on top, 200 below.
    src = Image(4, 2)
    src.fill(0, 0, 4, 1, (10, 20, 30, 255))
    src.fill(0, 1, 4, 1, (40, 50, 60, 200))
    src.save_rgba(os.path.join(d, "cutsrc.png"))
    alpha = Image(4, 2)
    for x, c in enumerate([(0, 0, 0), (255, 0, 0), (128, 0, 0), (255, 255, 255)]):
        alpha.put(x, 0, c + (255,))
    for x, c in enumerate([(255, 0, 0), (64, 0, 0), (0, 255, 255), (255, 255, 255)]):
        alpha.put(x, 1, c + (255,))
    alpha.save_rgb(os.path.join(d, "cutalpha.png"))
    small = Image(2, 1)
    small.put(0, 0, (255, 0, 0, 255))
    small.put(1, 0, (100, 0, 0, 255))
    small.save_rgb(os.path.join(d, "cutalphasmall.png"))

    # Merge sources: foreground red | blue, a grey mask, wide and tall backgrounds whose two ends differ.
    fore = Image(8, 4)
    fore.fill(0, 0, 4, 4, (255, 0, 0, 255))
    fore.fill(4, 0, 4, 4, (0, 0, 255, 255))
    fore.save_bmp24(os.path.join(d, "fore.bmp"))
    fore.save_rgb(os.path.join(d, "fore.png"))
    mask = [[(0, 0, 255, 255, 128, 128, 255, 0)[x] for x in range(8)] for _ in range(4)]
    save_bmp8(os.path.join(d, "mask8.bmp"), 8, 4, GREY, mask)
    save_indexed(os.path.join(d, "mask8.png"), 8, 4, GREY, mask, 8)
    wide = Image(16, 4, (128, 128, 128, 255))
    wide.fill(0, 0, 4, 4, (0, 255, 0, 255))
    wide.fill(12, 0, 4, 4, (255, 255, 0, 255))
    wide.save_bmp24(os.path.join(d, "wide.bmp"))
    wide.save_rgb(os.path.join(d, "wide.png"))
    tall = Image(4, 16, (128, 128, 128, 255))
    tall.fill(0, 0, 4, 4, (0, 255, 0, 255))
    tall.fill(0, 12, 4, 4, (255, 0, 255, 255))
    tall.save_rgb(os.path.join(d, "tall.png"))


def clamp(v):
    return max(0, min(255, int(round(v))))


def coverage(dist):
    """Anti-aliased edge: 1 inside, 0 outside, linear over one pixel."""
    return max(0.0, min(1.0, 0.5 - dist))


def orb(size, colour):
    img = Image(size, size)
    c = (size - 1) / 2.0
    r = size / 2.0 - 1
    for y in range(size):
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            a = coverage(d - r)
            if a <= 0:
                continue
            # Light from the top left, a soft rim and a highlight.
            shade = 0.55 + 0.45 * max(0.0, 1 - d / r) - 0.25 * (dx + dy) / (2 * r)
            hl = max(0.0, 1 - math.hypot(dx + r * 0.35, dy + r * 0.4) / (r * 0.35))
            col = tuple(clamp(ch * shade + 255 * hl * 0.8) for ch in colour)
            img.put(x, y, col + (clamp(255 * a * (0.75 + 0.25 * (1 - d / r))),))
    return img


def ring(size, colour):
    img = Image(size, size)
    c = (size - 1) / 2.0
    r = size / 2.0 - 3
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            a = math.exp(-((d - r) ** 2) / 6.0)
            if a > 0.01:
                img.put(x, y, colour + (clamp(255 * a),))
    return img


def panel(cell=12):
    """Rounded translucent panel for nine-cell fills: dark border, soft shadow, light glassy centre."""
    size = 3 * cell
    img = Image(size, size)
    radius = cell - 2
    inset = 2

    def rounded_dist(x, y, x0, y0, x1, y1, rad):
        cx = min(max(x, x0 + rad), x1 - rad)
        cy = min(max(y, y0 + rad), y1 - rad)
        return math.hypot(x - cx, y - cy) - rad

    for y in range(size):
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            shadow = rounded_dist(px - 1.5, py - 2, inset, inset, size - inset, size - inset, radius)
            body = rounded_dist(px, py, inset, inset, size - inset, size - inset, radius)
            out = (0, 0, 0, clamp(90 * max(0.0, min(1.0, -shadow / 3 + 0.5))))
            a = coverage(body)
            if a > 0:
                border = coverage(body + 1.5)   # 1 inside the border ring, 0 on it
                top = y / size
                fill = (clamp(235 - 40 * top), clamp(240 - 30 * top), 255)
                col = tuple(clamp(f * border + b * (1 - border)) for f, b in zip(fill, (40, 60, 110)))
                alpha = clamp(255 * a * (0.8 * border + 1.0 * (1 - border)))
                # over the shadow
                sa = out[3] / 255.0
                fa = alpha / 255.0
                oa = fa + sa * (1 - fa)
                col = tuple(clamp((cc * fa) / oa) if oa > 0 else 0 for cc in col)
                out = col + (clamp(oa * 255),)
            img.put(x, y, out)
    return img


def gallery_images(d):
    orb(48, (40, 120, 230)).save_rgba(os.path.join(d, "orb.png"))
    orb(48, (230, 90, 40)).save_rgba(os.path.join(d, "orb2.png"))
    ring(48, (20, 170, 90)).save_rgba(os.path.join(d, "ring.png"))
    panel().save_rgba(os.path.join(d, "panel.png"))

    # Merge: a striped foreground, an elliptic soft mask, wide and tall button backgrounds.
    w, h = 96, 32
    fore = Image(w, h)
    for y in range(h):
        for x in range(w):
            stripe = ((x + y) // 6) % 2
            fore.put(x, y, ((250, 200, 40) if stripe else (240, 120, 30)) + (255,))
    fore.save_rgb(os.path.join(d, "merge_fore.png"))
    mask = []
    for y in range(h):
        row = []
        for x in range(w):
            e = math.hypot((x + 0.5 - w / 2) / (w / 2 - 4), (y + 0.5 - h / 2) / (h / 2 - 3))
            row.append(clamp(255 * max(0.0, min(1.0, (1 - e) * 6))))
        mask.append(row)
    save_indexed(os.path.join(d, "merge_mask.png"), w, h, GREY, mask, 8)

    def button(bw, bh, horizontal):
        img = Image(bw, bh)
        length = bw if horizontal else bh
        for y in range(bh):
            for x in range(bw):
                along = x if horizontal else y
                across = (y / (bh - 1)) if horizontal else (x / (bw - 1))
                base = 70 + 90 * (1 - abs(across - 0.35) * 1.4)
                if along < length // 4:
                    col = (clamp(base * 0.5), clamp(base), clamp(base * 0.6))      # green head
                elif along >= length - length // 4:
                    col = (clamp(base), clamp(base * 0.55), clamp(base * 0.9))     # magenta head
                else:
                    col = (clamp(base * 0.8), clamp(base * 0.85), clamp(base))
                img.put(x, y, col + (255,))
        return img

    button(128, 32, True).save_rgb(os.path.join(d, "back_wide.png"))
    button(32, 128, False).save_rgb(os.path.join(d, "back_tall.png"))

    # DIB drawing: a small tile and a bevelled nine-cell frame (24-bit BMP).
    tile = Image(16, 16)
    for y in range(16):
        for x in range(16):
            v = 200 if ((x // 4) + (y // 4)) % 2 else 150
            tile.put(x, y, (v, clamp(v * 0.9), clamp(v * 0.7), 255))
    tile.save_bmp24(os.path.join(d, "dib_tile.bmp"))
    frame = Image(30, 30)
    for y in range(30):
        for x in range(30):
            edge = min(x, y, 29 - x, 29 - y)
            if edge < 2:
                light = x < 28 - y  # top-left light, bottom-right dark
                col = (235, 235, 245) if light else (60, 60, 90)
            elif edge < 4:
                col = (120, 130, 170)
            else:
                col = (200, 210, 235) if (x + y) % 4 else (185, 195, 225)
            frame.put(x, y, col + (255,))
    frame.save_bmp24(os.path.join(d, "dib_frame.bmp"))


def generate(out):
    test_images(os.path.join(out, "test", "imaging"))
    gallery_images(os.path.join(out, "gallery", "imaging"))
