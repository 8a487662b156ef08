"""Bitmap button skins and the images the button tests and gallery read.

- qDVDUser/CqButtonEx/Button.png: the default face, four cells of 60 x 27 stacked (normal,
  pressed, disabled, hover). Drawn with soft, anti-aliased edges and a drop shadow in real alpha,
  and laid out for nine-cell use: the rounded corners and the shadow stay inside the 20 x 9 corner
  cells, the edges and the centre repeat cleanly.
- test/button/: small strips with exact colours the tests check pixel by pixel.
- gallery/button/: icon strips and a shaped button for the gallery page.
"""
import math
import os
from png import Image

CELL_W, CELL_H = 60, 27
SS = 4  # supersampling per axis for edge coverage


def coverage(w, h, inside):
    """Coverage 0..1 of each pixel by the shape inside(px, py), from SS x SS samples."""
    cov = [[0.0] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            hit = sum(1 for sy in range(SS) for sx in range(SS)
                      if inside(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS))
            cov[y][x] = hit / (SS * SS)
    return cov


def rounded_coverage(w, h, x0, y0, x1, y1, r):
    """Coverage of a rounded rectangle [x0, x1) x [y0, y1) with corner radius r."""
    def inside(px, py):
        if not (x0 <= px < x1 and y0 <= py < y1):
            return False
        cx = min(max(px, x0 + r), x1 - r)
        cy = min(max(py, y0 + r), y1 - r)
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return coverage(w, h, inside)


def blur_rows(grid, radius):
    """Each value the mean of its row neighbours within radius (those inside the row)."""
    out = []
    for row in grid:
        w = len(row)
        out.append([sum(row[max(0, x - radius):x + radius + 1]) / (min(w, x + radius + 1) - max(0, x - radius))
                    for x in range(w)])
    return out


def transpose(grid):
    return [list(col) for col in zip(*grid)]


def blur(cov, radius):
    """Box blur across and down, applied twice: a cheap, soft shadow."""
    out = cov
    for _ in range(2):
        out = transpose(blur_rows(transpose(blur_rows(out, radius)), radius))
    return out


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def face_cell(top, bottom, border, highlight, shadow_alpha, offset=0, opacity=1.0, glow=None):
    """One state cell: shadow, optional glow, a gradient body with a border and an inner highlight."""
    w, h = CELL_W, CELL_H
    img = Image(w, h)
    x0, y0, x1, y1, r = 1, 1 + offset, w - 2, h - 4 + offset, 6.5
    body = rounded_coverage(w, h, x0, y0, x1, y1, r)
    inner = rounded_coverage(w, h, x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1)
    if shadow_alpha:
        shifted = [[0.0] * w for _ in range(h)]
        for y in range(h):
            for x in range(w):
                if 0 <= y - 2 < h and 0 <= x - 1 < w:
                    shifted[y][x] = body[y - 2][x - 1]
        paint(img, 0, 0, blur(shifted, 1), (20, 28, 40), shadow_alpha)
    if glow:
        paint(img, 0, 0, blur(body, 1), glow, 0.55)
    for y in range(h):
        t = (y - y0) / max(1, (y1 - y0 - 1))
        fill = mix(top, bottom, min(1.0, max(0.0, t)))
        for x in range(w):
            c_in, c_body = inner[y][x], body[y][x]
            if c_body <= 0:
                continue
            # Border ring where the body covers and the inner area does not.
            colour = mix(border, fill, c_in / c_body if c_body else 0)
            if c_in > 0 and y == int(y0) + 1:
                colour = mix(colour, highlight, 0.7)
            img.blend(x, y, colour + (int(round(255 * c_body * opacity)),))
    return img


def default_skin():
    strip = Image(CELL_W, CELL_H * 4)
    cells = [
        face_cell((246, 248, 252), (200, 210, 224), (104, 118, 140), (255, 255, 255), 0.45),
        face_cell((168, 182, 204), (210, 220, 234), (72, 86, 112), (150, 164, 188), 0.2, offset=1),
        face_cell((232, 232, 234), (220, 220, 222), (178, 178, 182), (240, 240, 240), 0.0, opacity=0.8),
        face_cell((236, 246, 255), (168, 206, 246), (48, 116, 206), (255, 255, 255), 0.45, glow=(110, 170, 255)),
    ]
    for i, c in enumerate(cells):
        strip.paste(c, 0, i * CELL_H)
    return strip


# Test images ------------------------------------------------------------------------------------
# cells.png: 20 x 14 cells, a transparent margin of 2 (left, top, right) and 3 (bottom), an opaque
# body in a state colour with one opaque black pixel at (4, 3) and a half-transparent column at x 15.
TEST_CELL = (20, 14)
TEST_COLOURS = [(200, 30, 60), (40, 170, 20), (90, 100, 150), (250, 200, 10)]


def test_cells():
    w, h = TEST_CELL
    img = Image(w, h * 4)
    for s, colour in enumerate(TEST_COLOURS):
        img.fill(2, s * h + 2, w - 4, h - 5, colour + (255,))
        img.put(4, s * h + 3, (0, 0, 0, 255))
        img.fill(15, s * h + 2, 1, h - 5, colour + (128,))
    return img


def solid_strip(w, h, colours):
    img = Image(w, h)
    cell = h // 4
    for s, colour in enumerate(colours):
        img.fill(0, s * cell, w, cell if s < 3 else h - 3 * cell, colour + (255,))
    return img


# Gallery images ---------------------------------------------------------------------------------

def paint(img, ox, oy, cov, rgb, strength=1.0):
    """Blends rgb over img at (ox, oy) with the alpha of a coverage map."""
    for y, row in enumerate(cov):
        for x, c in enumerate(row):
            a = int(round(255 * strength * c))
            if a:
                img.blend(ox + x, oy + y, rgb + (a,))


def play_shape(px, py):
    return 6 <= px <= 12 and abs(py - 8) <= (12 - px) * 0.62


def loop_shape(px, py):
    """An open ring with an arrow head at its gap."""
    d = math.hypot(px - 8, py - 8)
    ang = math.atan2(py - 8, px - 8)
    ring = 3 <= d <= 5 and not (-0.9 < ang < 0.1)
    head = 10.5 <= px <= 14 and 4 <= py <= 8.5 and py - 4 <= (14 - px) * 1.3
    return ring or head


def icon_strip(kind):
    """16 x 16 icons in four states: a play triangle or a loop arrow on a round plate."""
    size = 16
    states = [((60, 120, 200), (255, 255, 255)), ((30, 70, 140), (220, 230, 255)),
              ((170, 170, 170), (235, 235, 235)), ((90, 160, 240), (255, 255, 255))]
    img = Image(size, size * 4)
    for s, (plate, ink) in enumerate(states):
        paint(img, 0, s * size, rounded_coverage(size, size, 0.5, 0.5, 15.5, 15.5, 7.5), plate)
        paint(img, 0, s * size, coverage(size, size, play_shape if kind == "play" else loop_shape), ink)
    return img


def shape_strip():
    """A 40 x 40 star-like shaped button, four states, transparent outside the shape."""
    size = 40
    states = [(230, 120, 40), (180, 80, 20), (170, 160, 150), (255, 160, 70)]
    img = Image(size, size * 4)
    pts = []
    for i in range(10):
        ang = -math.pi / 2 + i * math.pi / 5
        rad = 19 if i % 2 == 0 else 9
        pts.append((20 + rad * math.cos(ang), 20 + rad * math.sin(ang)))

    def inside(px, py):
        c = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c

    for s, colour in enumerate(states):
        for y in range(size):
            for x in range(size):
                # Hard edges: a region button's shape is its opaque pixels.
                if inside(x + 0.5, y + 0.5):
                    shade = mix(colour, (255, 255, 255), max(0.0, 0.35 - y / 80))
                    img.put(x, s * size + y, shade + (255,))
    return img


def generate(out):
    default_skin().save_rgba(os.path.join(out, "qDVDUser", "CqButtonEx", "Button.png"))
    t = os.path.join(out, "test", "button")
    test_cells().save_rgba(os.path.join(t, "cells.png"))
    test_cells().save_bmp24(os.path.join(t, "cells.bmp"))   # a resource: no alpha, margins black
    solid_strip(30, 120, [(210, 60, 20), (20, 150, 90), (70, 80, 200), (240, 230, 120)]).save_rgba(
        os.path.join(t, "flat.png"))
    solid_strip(40, 100, TEST_COLOURS).save_rgba(os.path.join(t, "strip40x100.png"))
    solid_strip(40, 102, TEST_COLOURS).save_rgba(os.path.join(t, "strip40x102.png"))
    Image(8, 3, (10, 20, 30, 255)).save_rgba(os.path.join(t, "flat3.png"))
    back = Image(7, 5)
    for y in range(5):
        for x in range(7):
            back.put(x, y, ((x * 30) % 256, 90 + y * 20, 180 - x * 10, 255))
    back.save_rgb(os.path.join(t, "back.png"))
    g = os.path.join(out, "gallery", "button")
    icon_strip("play").save_rgba(os.path.join(g, "play.png"))
    icon_strip("loop").save_rgba(os.path.join(g, "loop.png"))
    shape_strip().save_rgba(os.path.join(g, "star.png"))
