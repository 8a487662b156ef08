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
from skins_button import blur, mix, rounded_coverage

CELL = 16        # arrow cell, and the bar's thickness
GROOVE_W = 10    # shaft width across the bar
THUMB_W = 12     # thumb width across the bar
CAP = 6          # shaft and thumb cap length
MID = 4          # middle tile length

# The button's palette: light faces with slate borders, a blue hover, soft slate shadows.
FACES = {
    "normal": ((246, 248, 252), (200, 210, 224), (104, 118, 140), (60, 72, 92)),
    "pressed": ((168, 182, 204), (210, 220, 234), (72, 86, 112), (28, 40, 64)),
    "disabled": ((232, 232, 234), (220, 220, 222), (178, 178, 182), (176, 176, 182)),
    "hot": ((236, 246, 255), (168, 206, 246), (48, 116, 206), (32, 96, 186)),
}
SHADOW = (20, 28, 40)
TRACK_TOP, TRACK_BOTTOM, TRACK_EDGE = (206, 214, 226), (232, 236, 242), (150, 162, 182)
GRIP = (132, 146, 170)
STATES = ("normal", "pressed", "disabled", "hot")


def face(w, h, box, r, top, bottom, border, shadow_alpha=0.45, vertical_shade=True):
    """A rounded face in box = (x0, y0, x1, y1): soft shadow below-right, a shaded body, a border ring."""
    x0, y0, x1, y1 = box
    img = Image(w, h)
    body = rounded_coverage(w, h, x0, y0, x1, y1, r)
    inner = rounded_coverage(w, h, x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1)
    if shadow_alpha:
        shifted = [[body[y - 1][x - 1] if y >= 1 and x >= 1 else 0.0 for x in range(w)] for y in range(h)]
        soft = blur(shifted, 1)
        for y in range(h):
            for x in range(w):
                a = int(round(255 * shadow_alpha * soft[y][x]))
                if a:
                    img.blend(x, y, SHADOW + (a,))
    for y in range(h):
        for x in range(w):
            c_body, c_in = body[y][x], inner[y][x]
            if c_body <= 0:
                continue
            t = (y - y0) / max(1, y1 - y0 - 1) if vertical_shade else (x - x0) / max(1, x1 - x0 - 1)
            fill = mix(top, bottom, min(1.0, max(0.0, t)))
            img.blend(x, y, mix(border, fill, c_in / c_body) + (int(round(255 * c_body)),))
    return img


def glyph(img, up, ink, shift):
    """An anti-aliased triangle pointing up or down, centred on the face."""
    ss = 4
    cx, cy = 7.0 + shift, 7.0 + shift
    for y in range(CELL):
        for x in range(CELL):
            hit = 0
            for sy in range(ss):
                for sx in range(ss):
                    px, py = x + (sx + 0.5) / ss, y + (sy + 0.5) / ss
                    d = (py - (cy - 2.0)) if up else ((cy + 2.0) - py)   # 0 at the tip, 4 at the base
                    hit += 0 <= d <= 4.0 and abs(px - cx) <= d * 0.95
            if hit:
                img.blend(x, y, ink + (int(round(255 * hit / (ss * ss))),))


def button_cell(up, state):
    top, bottom, border, ink = FACES[state]
    shift = 1 if state == "pressed" else 0
    cell = face(CELL, CELL, (1 + shift, 1 + shift, 14 + shift, 14 + shift), 3.5, top, bottom, border,
                0.0 if state in ("pressed", "disabled") else 0.45)
    glyph(cell, up, ink, shift)
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


def cut(full, y0, length):
    img = Image(full.width, length)
    for y in range(length):
        for x in range(full.width):
            img.put(x, y, full.get(x, y0 + y))
    return img


CAP_AT = {"begin": 0, "middle": CAP, "end": CAP + MID}


def groove(length, cap):
    """A shaft piece: a sunken rounded track GROOVE_W wide, cut from one full-length track."""
    full = face(GROOVE_W, 2 * CAP + MID, (0, 0, GROOVE_W, 2 * CAP + MID), 4.5, TRACK_TOP, TRACK_BOTTOM, TRACK_EDGE,
                0.0, vertical_shade=False)
    return cut(full, CAP_AT[cap], length)


def thumb(length, cap):
    """A thumb piece: the button's normal face, shaded across the bar, with grip ribs on the middle."""
    top, bottom, border, _ = FACES["normal"]
    full = face(THUMB_W, 2 * CAP + MID, (0, 0, THUMB_W - 1, 2 * CAP + MID - 1), 4.5, top, bottom, border,
                vertical_shade=False)
    for y in (CAP, CAP + 2):
        for x in range(3, THUMB_W - 4):
            full.put(x, y, GRIP + (255,))
    return cut(full, CAP_AT[cap], length)


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
