"""Timecode control skins: the digit sprite sheet and the four background images.

Geometry the control relies on (the images are read by position, never by content):
- Digits.png: large digit s at (9s + 1, 1), 8 x 13; small (frame) digit s at (8s + 1, 15), 7 x 13;
  the connecting-line glyph at (105, 0), 8 x 13.
- TimeTagN.png: the long-format band at the top, the short-format band below it (below the four
  button sprite rows in the adjustable images); the button sprites in two columns (up, down) of
  four rows (normal, pressed, disabled, hover) starting at the adjustable band's width.

Digits are opaque sprites copied over the band, so the panel behind them is one flat colour that
the band repeats exactly under every digit cell.
"""
import os
from png import Image

PANEL = (14, 22, 30)
DIGIT = (232, 242, 255)
FRAME_DIGIT = (140, 205, 255)
SEPARATOR = (120, 138, 158)
BORDER_DARK = (30, 36, 44)
BORDER_LIGHT = (92, 102, 114)
DIVIDER = (44, 52, 62)

# Pixel glyphs: '#' full ink, '.' half ink (smooths curves), ' ' panel.
LARGE = {
    0: [" .##. ", ".#  #.", "#    #", "#    #", "#    #", "#    #", "#    #", "#    #", ".#  #.", " .##. "],
    1: ["  .#  ", " .##  ", " #.#  ", "   #  ", "   #  ", "   #  ", "   #  ", "   #  ", "   #  ", " #####"],
    2: [" .##. ", ".#  #.", "     #", "     #", "    .#", "   .#.", "  .#. ", " .#.  ", ".#.   ", "######"],
    3: [" .##. ", ".#  #.", "     #", "    .#", "  ##. ", "    .#", "     #", "     #", ".#  #.", " .##. "],
    4: ["   .# ", "  .## ", "  #.# ", " #. # ", ".#  # ", "#.  # ", "######", "    # ", "    # ", "    # "],
    5: ["######", "#     ", "#     ", "####. ", "    .#", "     #", "     #", "     #", ".#  #.", " .##. "],
    6: ["  .##.", " .#.  ", ".#    ", "#     ", "#.##. ", "#.  #.", "#    #", "#    #", ".#  #.", " .##. "],
    7: ["######", "     #", "    .#", "    #.", "   .# ", "   #. ", "  .#  ", "  #.  ", "  #   ", "  #   "],
    8: [" .##. ", ".#  #.", "#    #", ".#  #.", " .##. ", ".#  #.", "#    #", "#    #", ".#  #.", " .##. "],
    9: [" .##. ", ".#  #.", "#    #", "#    #", ".#  .#", " .##.#", "     #", "    .#", "   .#.", ".##.  "],
}
SMALL = {
    0: [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    1: ["  #  ", " ##  ", "# #  ", "  #  ", "  #  ", "  #  ", "#####"],
    2: [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    3: [" ### ", "#   #", "    #", "  ## ", "    #", "#   #", " ### "],
    4: ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    5: ["#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "],
    6: ["  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "],
    7: ["#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "],
    8: [" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "],
    9: [" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "],
}
# Where the glyphs sit inside their cells: large rows 2..11, small rows 5..11 (same baseline).
LARGE_AT = (1, 2)
SMALL_AT = (1, 5)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def opaque(rgb):
    return rgb + (255,)


def draw_glyph(img, x, y, rows, ink, paper=PANEL):
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            t = {"#": 1.0, ".": 0.45}.get(ch)
            if t:
                img.put(x + dx, y + dy, opaque(mix(paper, ink, t)))


def digits_image():
    img = Image(120, 29, opaque(PANEL))
    for s in range(10):
        draw_glyph(img, 9 * s + 1 + LARGE_AT[0], 1 + LARGE_AT[1], LARGE[s], DIGIT)
        draw_glyph(img, 8 * s + 1 + SMALL_AT[0], 15 + SMALL_AT[1], SMALL[s], FRAME_DIGIT)
    # Connecting line: a rule through the middle of an 8 x 13 cell, meeting its neighbours.
    img.fill(105, 6, 8, 1, opaque(SEPARATOR))
    img.fill(105, 7, 8, 1, opaque(mix(PANEL, SEPARATOR, 0.35)))
    return img


# Button sprites ------------------------------------------------------------------------------

def arrow_rows(width, up):
    """Rows of a centred triangle (1, 3, 5, ... pixels) as (offset, length) pairs."""
    rows = [(width // 2 - k, 2 * k + 1) for k in range((width + 1) // 2)]
    return rows if up else list(reversed(rows))


def button_standard(up, state):
    """13 x 9 bevelled face with an arrow; states: normal, pressed, disabled, hover."""
    w, h = 13, 9
    b = Image(w, h)
    top, bottom, ink, light = {
        "normal": ((84, 95, 108), (50, 58, 68), (214, 226, 238), (122, 134, 148)),
        "pressed": ((24, 32, 40), (44, 54, 66), (255, 188, 72), None),
        "disabled": ((40, 46, 52), (40, 46, 52), (76, 84, 92), None),
        "hover": ((78, 128, 186), (42, 84, 138), (255, 255, 255), (132, 176, 224)),
    }[state]
    for y in range(h):
        b.fill(0, y, w, 1, opaque(mix(top, bottom, y / (h - 1))))
    if light:
        b.fill(0, 0, w, 1, opaque(light))
    if state == "pressed":
        b.fill(0, 0, w, 1, opaque((10, 14, 18)))
        b.fill(0, 0, 1, h, opaque((10, 14, 18)))
    shift = 1 if state == "pressed" else 0
    rows = arrow_rows(7, up)[:4]
    y0 = 2 + shift
    for i, (off, n) in enumerate(rows):
        b.fill(3 + off + shift, y0 + i, n, 1, opaque(ink))
    return b


def button_compact(up, state):
    """7 x 5 arrow on the panel itself; the state shows in the ink and a lit backing."""
    w, h = 7, 5
    paper, ink = {
        "normal": (PANEL, (132, 150, 170)),
        "pressed": ((44, 56, 70), (255, 188, 72)),
        "disabled": (PANEL, (46, 56, 66)),
        "hover": ((30, 50, 74), (255, 255, 255)),
    }[state]
    b = Image(w, h, opaque(paper))
    rows = arrow_rows(5, up)
    for i, (off, n) in enumerate(rows):
        b.fill(1 + off, 1 + i, n, 1, opaque(ink))
    return b


def edge_piece(w, h, panel_cols, border):
    """A sprite that repeats the band's right edge: panel columns, then the border column."""
    b = Image(w, h, opaque(PANEL))
    b.fill(panel_cols, 0, w - panel_cols, h, opaque(border))
    return b


STATES = ["normal", "pressed", "disabled", "hover"]   # grid rows, top to bottom


def put_grid(img, x0, make, cell_h):
    for row, state in enumerate(STATES):
        img.paste(make(True, state), x0, row * cell_h)
        img.paste(make(False, state), x0 + make(True, state).width, row * cell_h)


# Background bands ----------------------------------------------------------------------------

def band(img, top, w, h, seps, buttons=None):
    """One band: sunken border, flat panel, the separators; buttons = (x, up y, down y, maker)."""
    img.fill(0, top, w, h, opaque(PANEL))
    img.fill(0, top, w, 1, opaque(BORDER_DARK))
    img.fill(0, top, 1, h, opaque(BORDER_DARK))
    img.fill(0, top + h - 1, w, 1, opaque(BORDER_LIGHT))
    img.fill(w - 1, top, 1, h, opaque(BORDER_LIGHT))
    for (x, y) in seps:
        img.fill(x, top + y, 2, 2, opaque(SEPARATOR))
    if buttons:
        bx, uy, dy, make, divider = buttons
        if divider:
            img.fill(bx - 1, top + 1, 1, h - 2, opaque(DIVIDER))
            img.fill(bx, top + uy + make(True, "normal").height, make(True, "normal").width,
                     dy - uy - make(True, "normal").height, opaque(DIVIDER))
        img.paste(make(True, "normal"), bx, top + uy)
        img.paste(make(False, "normal"), bx, top + dy)


def colon(x, large_top, small):
    """Two 2 x 2 dots at x: between large digits (cell rows 4 and 8) or before the small ones."""
    rows = (6, 9) if small else (4, 8)
    return [(x, large_top + rows[0]), (x, large_top + rows[1])]


def period(x, large_top):
    return [(x, large_top + 10)]


def standard_seps(long_format):
    top = 4   # digit cells start at window row 4
    seps = colon(22, top, False) + colon(46, top, False)
    seps += colon(68, top, True) if long_format else period(68, top)
    return seps


def compact_seps(long_format):
    top = 1
    seps = colon(18, top, False) + colon(37, top, False)
    seps += colon(57, top, True) if long_format else period(57, top)
    return seps


def timetag_standard(adjustable):
    w, h = (105, 21) if adjustable else (90, 21)
    short_top = 36 if adjustable else 21
    img = Image(131, max(short_top + h, 36))
    buttons = (91, 1, 11, button_standard, True) if adjustable else None
    band(img, 0, w, h, standard_seps(True), buttons)
    band(img, short_top, w, h, standard_seps(False), buttons)
    # The fixed image's buttons would fall outside its window; keep the grid so every sprite read
    # stays inside the bitmap.
    put_grid(img, 105, button_standard, 9)
    return img


def timetag_compact(adjustable):
    w, h = (85, 16) if adjustable else (78, 16)
    short_top = 20 if adjustable else 16
    img = Image(99, max(short_top + h, 20))
    buttons = (74, 2 + 1, 8 + 1, button_compact, False) if adjustable else None
    band(img, 0, w, h, compact_seps(True), buttons)
    band(img, short_top, w, h, compact_seps(False), buttons)
    if adjustable:
        put_grid(img, 85, button_compact, 5)
    else:
        # A fixed compact control still draws its disabled buttons at x 74, of which the four
        # columns inside the window must look like the band's right edge.
        edge = lambda up, state: edge_piece(7, 5, 3, BORDER_LIGHT)
        put_grid(img, 85, edge, 5)
    return img


def generate(out):
    d = os.path.join(out, "qDVDUser", "TimecodeCtrl")
    digits_image().save_rgba(os.path.join(d, "Digits.png"))
    timetag_standard(True).save_rgba(os.path.join(d, "TimeTag0.png"))
    timetag_standard(False).save_rgba(os.path.join(d, "TimeTag1.png"))
    timetag_compact(True).save_rgba(os.path.join(d, "TimeTag2.png"))
    timetag_compact(False).save_rgba(os.path.join(d, "TimeTag3.png"))
