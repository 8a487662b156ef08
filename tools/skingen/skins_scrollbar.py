"""Scroll bar skins: qDVDUser/ScrollBarEx/, sixteen images, eight per orientation.

Geometry the bar relies on (read by size and position, never by content):
- ScrollBar?_Btn.png: 2 columns (first arrow: up or left; second: down or right) by 4 rows
  (normal, pressed, disabled, hot) of CELL x CELL cells; ScrollBar?_Btn-M.png is its alpha
  (red channel), the rounded button and its soft shadow.
- Shaft pieces (?B_*) and thumb pieces (?T_*) carry their own alpha: begin cap, tiled middle, end
  cap. The thumb's minimum length is its two caps and one middle tile.
The horizontal images are the vertical ones transposed, so both orientations look the same.
"""
import os
from png import Image

CELL = 16        # arrow cell, and the bar's thickness
GROOVE_W = 10    # shaft width across the bar
THUMB_W = 12     # thumb width across the bar
CAP = 6          # shaft and thumb cap length
MID = 4          # middle tile length

# Shared with the other skins: dark panel, light ink, blue accent.
PANEL = (14, 22, 30)
GROOVE_TOP = (24, 32, 42)
GROOVE_BOTTOM = (36, 46, 58)
GROOVE_EDGE = (8, 12, 18)
BUTTON_TOP = (74, 86, 102)
BUTTON_BOTTOM = (44, 52, 64)
BUTTON_EDGE = (20, 26, 34)
INK = (220, 232, 245)
ACCENT = (140, 205, 255)
DISABLED_INK = (96, 104, 114)
THUMB_TOP = (168, 198, 232)
THUMB_BOTTOM = (96, 136, 184)
THUMB_EDGE = (40, 64, 96)
GRIP = (60, 92, 132)
SHADOW = (0, 0, 0)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def rounded(w, h, x, y, r):
    """Coverage (0..1) of a rounded rectangle w x h with corner radius r at pixel (x, y)."""
    cx = min(max(x + 0.5, r), w - r)
    cy = min(max(y + 0.5, r), h - r)
    d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
    return max(0.0, min(1.0, r - d + 0.5))


def body(w, h, top, bottom, edge, radius, shadow=True):
    """A rounded, vertically shaded body with a one-pixel edge and a soft shadow below-right."""
    img = Image(w, h)
    bw, bh = (w - 1, h - 1) if shadow else (w, h)
    if shadow:
        for y in range(h):
            for x in range(w):
                a = rounded(bw, bh, x - 1, y - 1, radius)
                if a > 0:
                    img.put(x, y, SHADOW + (int(round(70 * a)),))
    for y in range(bh):
        for x in range(bw):
            a = rounded(bw, bh, x, y, radius)
            if a <= 0:
                continue
            inner = rounded(bw - 2, bh - 2, x - 1, y - 1, max(radius - 1, 0.5)) if 0 < x < bw - 1 and 0 < y < bh - 1 else 0
            colour = mix(top, bottom, y / max(bh - 1, 1)) if inner > 0.5 else edge
            img.blend(x, y, colour + (int(round(255 * a)),))
    return img


def arrow_glyph(img, x0, y0, up, ink, size=CELL):
    """A filled triangle pointing up (or down) centred in a size x size cell."""
    rows = 4
    top = y0 + (size - rows) // 2
    for i in range(rows):
        n = 2 * i + 1 if up else 2 * (rows - 1 - i) + 1
        x = x0 + (size - 1) // 2 - n // 2
        img.fill(x, top + i, n, 1, ink + (255,))


STATES = ("normal", "pressed", "disabled", "hot")


def button_cell(up, state):
    if state == "pressed":
        cell = body(CELL, CELL, BUTTON_BOTTOM, mix(BUTTON_BOTTOM, PANEL, 0.5), BUTTON_EDGE, 3.0)
        ink, shift = ACCENT, 1
    elif state == "disabled":
        cell = body(CELL, CELL, mix(BUTTON_TOP, PANEL, 0.5), mix(BUTTON_BOTTOM, PANEL, 0.5), BUTTON_EDGE, 3.0)
        ink, shift = DISABLED_INK, 0
    elif state == "hot":
        cell = body(CELL, CELL, mix(BUTTON_TOP, INK, 0.25), BUTTON_TOP, mix(BUTTON_EDGE, ACCENT, 0.5), 3.0)
        ink, shift = ACCENT, 0
    else:
        cell = body(CELL, CELL, BUTTON_TOP, BUTTON_BOTTOM, BUTTON_EDGE, 3.0)
        ink, shift = INK, 0
    arrow_glyph(cell, shift, shift, up, ink)
    return cell


def arrow_sprite():
    """Colour sheet and its alpha sheet (grey levels: red = alpha)."""
    sheet = Image(2 * CELL, 4 * CELL, (0, 0, 0, 0))
    for row, state in enumerate(STATES):
        for col, up in enumerate((True, False)):
            sheet.paste(button_cell(up, state), col * CELL, row * CELL)
    colour = Image(sheet.width, sheet.height, (0, 0, 0, 255))
    mask = Image(sheet.width, sheet.height, (0, 0, 0, 255))
    for y in range(sheet.height):
        for x in range(sheet.width):
            r, g, b, a = sheet.get(x, y)
            colour.put(x, y, (r, g, b, 255))
            mask.put(x, y, (a, a, a, 255))
    return colour, mask


def groove(length, cap):
    """A shaft piece across the bar: the groove is GROOVE_W wide, rounded at a begin or end cap."""
    img = Image(GROOVE_W, length)
    full = body(GROOVE_W, 2 * CAP + MID, GROOVE_TOP, GROOVE_BOTTOM, GROOVE_EDGE, 4.0, shadow=False)
    y0 = {"begin": 0, "middle": CAP, "end": CAP + MID}[cap]
    for y in range(length):
        for x in range(GROOVE_W):
            img.put(x, y, full.get(x, y0 + y))
    return img


def thumb(length, cap):
    img = Image(THUMB_W, length)
    full = body(THUMB_W, 2 * CAP + MID, THUMB_TOP, THUMB_BOTTOM, THUMB_EDGE, 4.0)
    # Grip lines on the middle tile only, so a long thumb shows ribs along its length.
    for y in (CAP + 1, CAP + 3):
        for x in range(3, THUMB_W - 4):
            full.put(x, y, GRIP + (255,))
    y0 = {"begin": 0, "middle": CAP, "end": CAP + MID}[cap]
    for y in range(length):
        for x in range(THUMB_W):
            img.put(x, y, full.get(x, y0 + y))
    return img


def transpose(img):
    out = Image(img.height, img.width)
    for y in range(img.height):
        for x in range(img.width):
            out.put(y, x, img.get(x, y))
    return out


def transpose_cells(img):
    """Each square cell transposed in place: up and down arrows become left and right ones."""
    out = Image(img.width, img.height)
    for y in range(img.height):
        for x in range(img.width):
            cx, cy = x - x % CELL, y - y % CELL
            out.put(cx + (y - cy), cy + (x - cx), img.get(x, y))
    return out


def generate(out):
    d = os.path.join(out, "qDVDUser", "ScrollBarEx")
    colour, mask = arrow_sprite()
    colour.save_rgb(os.path.join(d, "ScrollBarV_Btn.png"))
    mask.save_rgb(os.path.join(d, "ScrollBarV_Btn-M.png"))
    transpose_cells(colour).save_rgb(os.path.join(d, "ScrollBarH_Btn.png"))
    transpose_cells(mask).save_rgb(os.path.join(d, "ScrollBarH_Btn-M.png"))

    pieces = {
        ("B", "begin"): groove(CAP, "begin"),
        ("B", "middle"): groove(MID, "middle"),
        ("B", "end"): groove(CAP, "end"),
        ("T", "begin"): thumb(CAP, "begin"),
        ("T", "middle"): thumb(MID, "middle"),
        ("T", "end"): thumb(CAP, "end"),
    }
    vnames = {"begin": "T", "middle": "M", "end": "B"}
    hnames = {"begin": "L", "middle": "C", "end": "R"}
    for (kind, cap), img in pieces.items():
        img.save_rgba(os.path.join(d, "ScrollBarV%s_%s.png" % (kind, vnames[cap])))
        transpose(img).save_rgba(os.path.join(d, "ScrollBarH%s_%s.png" % (kind, hnames[cap])))
