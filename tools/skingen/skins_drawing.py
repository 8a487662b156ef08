"""Images the drawing tests and the drawing gallery page read: nine-cell frames, a tile, sprites on
a key colour."""
import math
import os
from png import Image


def coord_colour(x, y):
    # The colour the drawing tests give pixel (x, y) of a source bitmap.
    return ((x * 7) % 256, (y * 7) % 256, 100 + (x + y) % 50, 255)


def frame(size, radius, outer, inner, face):
    """A rounded, bevelled frame whose nine cells tile cleanly: flat edges between the corners."""
    img = Image(size, size, (255, 0, 255, 255))
    c = size / 2
    for y in range(size):
        for x in range(size):
            # Distance outside the rounded square's corner circle (0 inside the straight parts).
            dx = max(radius - x - 0.5, x + 0.5 - (size - radius), 0)
            dy = max(radius - y - 0.5, y + 0.5 - (size - radius), 0)
            d = radius - math.hypot(dx, dy)   # depth inside the rounded square
            if d < 0:
                continue
            if d < 2:
                colour = outer
            elif d < 4:
                colour = inner
            else:
                colour = face
            img.put(x, y, colour + (255,))
    return img


def generate(out):
    d = os.path.join(out, "test")
    # 30 x 30, cells of 10 x 10: every pixel names its coordinates.
    cells = Image(30, 30)
    for y in range(30):
        for x in range(30):
            cells.put(x, y, coord_colour(x, y))
    cells.save_bmp24(os.path.join(d, "drawing_cells30.bmp"))
    # Gallery frames: 48 x 48 (cells of 16) in two colourings, magenta outside the rounded corners.
    frame(48, 14, (40, 60, 110), (120, 150, 210), (226, 232, 244)).save_bmp24(
        os.path.join(d, "drawing_frame48.bmp"))
    frame(48, 10, (110, 50, 30), (220, 150, 90), (250, 236, 220)).save_bmp24(
        os.path.join(d, "drawing_frame48b.bmp"))
    # A 16 x 16 tile: diagonal stripes.
    tile = Image(16, 16)
    for y in range(16):
        for x in range(16):
            on = ((x + y) // 4) % 2 == 0
            tile.put(x, y, (70, 130, 90, 255) if on else (200, 226, 206, 255))
    tile.save_bmp24(os.path.join(d, "drawing_tile16.bmp"))
    # A 24 x 24 star on magenta, for transparent fills and regions.
    star = Image(24, 24, (255, 0, 255, 255))
    cx = cy = 11.5
    for y in range(24):
        for x in range(24):
            a = math.atan2(y - cy, x - cx)
            r = math.hypot(x - cx, y - cy)
            limit = 6 + 5.5 * (0.5 + 0.5 * math.cos(5 * a - math.pi / 2))
            if r <= limit:
                shade = int(255 - r * 8)
                star.put(x, y, (255, max(120, shade), 40, 255))
    star.save_bmp24(os.path.join(d, "drawing_star24.bmp"))
