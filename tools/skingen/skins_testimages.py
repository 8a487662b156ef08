"""Small images the loader and drawing tests read: one of each format the loaders distinguish."""
import os
from png import Image, save_indexed


def generate(out):
    d = os.path.join(out, "test")
    # 32-bit ARGB: 8 x 4, columns of alpha 255, 128, 0 and a top row that differs from the bottom
    # so upside-down loads show.
    argb = Image(8, 4)
    for y in range(4):
        for x in range(8):
            alpha = (255, 255, 128, 128, 64, 0, 255, 255)[x]
            colour = (255, 0, 0) if y == 0 else (0, 0, 255) if y == 3 else (0, 255, 0)
            argb.put(x, y, colour + (alpha,))
    argb.save_rgba(os.path.join(d, "argb32.png"))
    # 24-bit: 6 x 3 with a red top row, green middle, blue bottom.
    rgb = Image(6, 3)
    for y, colour in enumerate([(255, 0, 0), (0, 255, 0), (0, 0, 255)]):
        rgb.fill(0, y, 6, 1, colour + (255,))
    rgb.put(0, 0, (10, 20, 30, 255))
    rgb.save_rgb(os.path.join(d, "rgb24.png"))
    rgb.save_bmp24(os.path.join(d, "rgb24.bmp"))
    # 8-bit indexed: 5 x 2, palette of four colours, index = (x + y) % 4.
    palette = [(0, 0, 0), (255, 0, 0), (0, 128, 0), (16, 32, 240)]
    save_indexed(os.path.join(d, "indexed8.png"), 5, 2, palette, [[(x + y) % 4 for x in range(5)] for y in range(2)], 8)
    # 1-bit: 9 x 2 checker.
    save_indexed(os.path.join(d, "mono1.png"), 9, 2, [(0, 0, 0), (255, 255, 255)],
                 [[(x + y) % 2 for x in range(9)] for y in range(2)], 1)
    # 4-bit: 3 x 3.
    save_indexed(os.path.join(d, "indexed4.png"), 3, 3, [(i * 16, 0, 0) for i in range(16)],
                 [[(x * 3 + y) for x in range(3)] for y in range(3)], 4)
    # Not an image at all.
    with open(os.path.join(d, "corrupt.png"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\nthis is not a png")
