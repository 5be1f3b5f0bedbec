#!/usr/bin/env python3
"""Builds every picture, bitmap font and line drawing that the program embeds.

Run from anywhere: python3 tools/make_assets.py [output folder]
The default output folder is src/assets next to this script's folder. The files it writes are the
embedded form itself (PNM images and vector object texts), so they can also be opened and touched
up by hand; running the script again overwrites them.

Everything here is hand-made data: the stroke skeletons of the line font (which also shape the
bitmap fonts), the picture collection, the mouse arrow and the letter shapes of the logos.
Only the Python standard library is used.
"""

import math
import os
import sys

STAMP = "# 2015-07-06 12:00 made for VOXA7100 by its authors"

# ---------------------------------------------------------------------------------------------
# PNM writing

def pnm_header(magic, width, height, maxval):
    text = "%s\n%s\n%d %d\n" % (magic, STAMP, width, height)
    if maxval:
        text += "255\n"
    return text.encode("ascii")


def write_pbm(path, bits, width, height):
    """bits[y][x] true = set bit (decodes to white)."""
    assert width % 8 == 0
    out = bytearray(pnm_header("P4", width, height, False))
    for y in range(height):
        row = bits[y]
        for bx in range(0, width, 8):
            v = 0
            for i in range(8):
                v = (v << 1) | (1 if row[bx + i] else 0)
            out.append(v)
    with open(path, "wb") as f:
        f.write(out)


def write_pgm(path, grey, width, height):
    out = bytearray(pnm_header("P5", width, height, True))
    for y in range(height):
        for x in range(width):
            out.append(max(0, min(255, int(round(grey[y][x])))))
    with open(path, "wb") as f:
        f.write(out)


def write_ppm(path, rgb, width, height):
    out = bytearray(pnm_header("P6", width, height, True))
    for y in range(height):
        for x in range(width):
            for c in rgb[y][x]:
                out.append(max(0, min(255, int(round(c)))))
    with open(path, "wb") as f:
        f.write(out)


def grid(width, height, value):
    return [[value] * width for _ in range(height)]


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def lerp(a, b, t):
    return a + (b - a) * t


def lerp3(a, b, t):
    return tuple(lerp(a[i], b[i], t) for i in range(3))


def ramp(stops, t):
    """Colour at t (0..1) along a list of (position, (r, g, b)) stops."""
    t = clamp(t)
    for i in range(len(stops) - 1):
        p0, c0 = stops[i]
        p1, c1 = stops[i + 1]
        if t <= p1:
            return lerp3(c0, c1, 0.0 if p1 == p0 else (t - p0) / (p1 - p0))
    return stops[-1][1]

# ---------------------------------------------------------------------------------------------
# Distance fields: every shape below is a set of straight strokes drawn with a round pen.

def seg_nearest(px, py, x1, y1, x2, y2):
    dx, dy = x2 - x1, y2 - y1
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else clamp(((px - x1) * dx + (py - y1) * dy) / ll)
    return x1 + t * dx, y1 + t * dy


def nearest(px, py, segs):
    """(distance, offset x, offset y) from the nearest point of any segment to (px, py)."""
    best = (1e9, 0.0, 0.0)
    for (x1, y1, x2, y2) in segs:
        qx, qy = seg_nearest(px, py, x1, y1, x2, y2)
        ox, oy = px - qx, py - qy
        d = math.hypot(ox, oy)
        if d < best[0]:
            best = (d, ox, oy)
    return best


def polyline_segments(points, closed=False):
    segs = []
    n = len(points)
    for i in range(n - 1 + (1 if closed else 0)):
        a, b = points[i], points[(i + 1) % n]
        segs.append((a[0], a[1], b[0], b[1]))
    return segs


def ellipse_points(cx, cy, rx, ry, n=48, a0=0.0, a1=360.0):
    pts = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts

# ---------------------------------------------------------------------------------------------
# The line font. Each glyph is a list of polylines in 16-unit coordinates: letters stand in the box
# x 2..12, y 0..14 (cap height 14, base line 14) so that halving gives the 8-unit box x 1..6,
# y 0..7. Curves are chamfered corners; most points are even so that halving is exact.

SKELETON = {
    "!": "7,0 7,8 | 7,12 7,14",
    '"': "5,0 5,4 | 9,0 9,4",
    "#": "5,2 5,12 | 9,2 9,12 | 2,5 12,5 | 2,9 12,9",
    "$": "12,2 4,2 2,4 2,5 4,7 10,7 12,9 12,10 10,12 2,12 | 7,0 7,14",
    "%": "12,0 2,14 | 2,0 5,0 5,3 2,3 2,0 | 9,11 12,11 12,14 9,14 9,11",
    "&": "12,14 2,4 2,2 4,0 6,0 8,2 8,4 2,10 2,12 4,14 8,14 12,8",
    "'": "7,0 7,4",
    "(": "9,0 6,3 6,11 9,14",
    ")": "5,0 8,3 8,11 5,14",
    "*": "7,2 7,12 | 3,4 11,10 | 11,4 3,10",
    "+": "7,3 7,11 | 3,7 11,7",
    ",": "8,11 8,13 6,14",
    "-": "3,7 11,7",
    ".": "7,12 7,14",
    "/": "12,0 2,14",
    "0": "4,0 10,0 12,2 12,12 10,14 4,14 2,12 2,2 4,0 | 10,2 4,12",
    "1": "4,4 8,0 8,14 | 4,14 12,14",
    "2": "2,2 4,0 10,0 12,2 12,6 2,14 12,14",
    "3": "2,2 4,0 10,0 12,2 12,4 10,6 6,6 | 10,6 12,8 12,12 10,14 4,14 2,12",
    "4": "10,14 10,0 2,10 12,10",
    "5": "12,0 2,0 2,6 10,6 12,8 12,12 10,14 4,14 2,12",
    "6": "12,2 10,0 4,0 2,2 2,12 4,14 10,14 12,12 12,8 10,6 2,6",
    "7": "2,0 12,0 12,2 6,10 6,14",
    "8": "4,0 10,0 12,2 12,4 10,6 4,6 2,4 2,2 4,0 | 4,6 2,8 2,12 4,14 10,14 12,12 12,8 10,6",
    "9": "2,12 4,14 10,14 12,12 12,2 10,0 4,0 2,2 2,6 4,8 12,8",
    ":": "7,3 7,5 | 7,10 7,12",
    ";": "7,3 7,5 | 8,10 8,12 6,14",
    "<": "12,0 2,7 12,14",
    "=": "3,4 11,4 | 3,10 11,10",
    ">": "2,0 12,7 2,14",
    "?": "2,2 4,0 10,0 12,2 12,4 7,8 7,9 | 7,13 7,14",
    "@": "10,10 10,4 4,4 4,10 10,10 12,10 12,2 10,0 4,0 2,2 2,12 4,14 12,14",
    "A": "2,14 2,2 4,0 10,0 12,2 12,14 | 2,8 12,8",
    "B": "2,0 10,0 12,2 12,4 10,6 2,6 | 10,6 12,8 12,12 10,14 2,14 2,0",
    "C": "12,2 10,0 4,0 2,2 2,12 4,14 10,14 12,12",
    "D": "2,0 8,0 12,4 12,10 8,14 2,14 2,0",
    "E": "12,0 2,0 2,14 12,14 | 2,6 10,6",
    "F": "12,0 2,0 2,14 | 2,6 10,6",
    "G": "12,2 10,0 4,0 2,2 2,12 4,14 10,14 12,12 12,8 8,8",
    "H": "2,0 2,14 | 12,0 12,14 | 2,6 12,6",
    "I": "5,0 9,0 | 7,0 7,14 | 5,14 9,14",
    "J": "6,0 12,0 12,12 10,14 4,14 2,12 2,10",
    "K": "2,0 2,14 | 12,0 2,10 | 6,6 12,14",
    "L": "2,0 2,14 12,14",
    "M": "2,14 2,0 7,8 12,0 12,14",
    "N": "2,14 2,0 12,14 12,0",
    "O": "4,0 10,0 12,2 12,12 10,14 4,14 2,12 2,2 4,0",
    "P": "2,14 2,0 10,0 12,2 12,6 10,8 2,8",
    "Q": "4,0 10,0 12,2 12,12 10,14 4,14 2,12 2,2 4,0 | 8,10 12,14",
    "R": "2,14 2,0 10,0 12,2 12,6 10,8 2,8 | 6,8 12,14",
    "S": "12,2 10,0 4,0 2,2 2,4 4,6 10,6 12,8 12,12 10,14 4,14 2,12",
    "T": "2,0 12,0 | 7,0 7,14",
    "U": "2,0 2,12 4,14 10,14 12,12 12,0",
    "V": "2,0 7,14 12,0",
    "W": "2,0 2,14 7,8 12,14 12,0",
    "X": "2,0 12,14 | 12,0 2,14",
    "Y": "2,0 7,6 12,0 | 7,6 7,14",
    "Z": "2,0 12,0 2,14 12,14",
    "[": "9,0 5,0 5,14 9,14",
    "\\": "2,0 12,14",
    "]": "5,0 9,0 9,14 5,14",
    "^": "3,5 7,0 11,5",
    "_": "2,14 12,14",
    "`": "5,0 9,4",
    "{": "10,0 8,0 6,2 6,5 4,7 6,9 6,12 8,14 10,14",
    "|": "7,0 7,14",
    "}": "4,0 6,0 8,2 8,5 10,7 8,9 8,12 6,14 4,14",
    # 126: a smiling face; 127: the escape symbol (an open ring with an arrow out of it).
    "~": "4,0 10,0 12,2 12,12 10,14 4,14 2,12 2,2 4,0 | 5,4 5,6 | 9,4 9,6 | 4,9 6,11 8,11 10,9",
    "\x7f": "8,0 10,0 12,2 12,12 10,14 4,14 2,12 2,8 | 8,8 2,2 | 2,2 2,6 | 2,2 6,2",
}

# Where plain halving of the 16-unit shape reads badly, the 8-unit font has its own shape.
SKELETON8 = {
    "M": "1,7 1,0 3,3 4,3 6,0 6,7",
    "V": "1,0 1,3 3,7 4,7 6,3 6,0",
    "W": "1,0 1,7 3,4 4,4 6,7 6,0",
    "Y": "1,0 1,1 3,3 4,3 6,1 6,0 | 4,3 4,7",
}


def parse_polylines(text):
    lines = []
    for part in text.split("|"):
        pts = [tuple(int(v) for v in p.split(",")) for p in part.split()]
        lines.append(pts)
    return lines


def glyph_char(code):
    """The character whose shape code draws (lower case repeats the capitals)."""
    ch = chr(code)
    if "a" <= ch <= "z":
        ch = ch.upper()
    return ch


def glyph16(code):
    """Segments (x1, y1, x2, y2) of the 16-unit glyph of a code, or None for a blank code."""
    if code < 33 or code > 127:
        return None
    segs = []
    for line in parse_polylines(SKELETON[glyph_char(code)]):
        segs.extend(polyline_segments(line))
    return segs


def half(v):
    # Odd coordinates round up, which keeps centred strokes (x 7) on the 8-unit centre 4.
    return (v + 1) // 2


def glyph8(code):
    if code < 33 or code > 127:
        return None
    ch = glyph_char(code)
    if ch in SKELETON8:
        segs = []
        for line in parse_polylines(SKELETON8[ch]):
            segs.extend(polyline_segments(line))
        return segs
    segs = []
    seen = set()
    for (x1, y1, x2, y2) in glyph16(code):
        s = (half(x1), half(y1), half(x2), half(y2))
        key = min(s, (s[2], s[3], s[0], s[1]))
        if key in seen:
            continue
        seen.add(key)
        segs.append(s)
    # Drop points that merely repeat the end of a longer stroke, but keep a glyph's only dot.
    longer = [s for s in segs if (s[0], s[1]) != (s[2], s[3])]
    dots = [s for s in segs if (s[0], s[1]) == (s[2], s[3])]
    kept = list(longer)
    for d in dots:
        touches = any(min(abs(d[0] - e[0]) + abs(d[1] - e[1]), abs(d[0] - e[2]) + abs(d[1] - e[3])) == 0
                      for e in longer)
        if not touches:
            kept.append(d)
    order = {s: i for i, s in enumerate(segs)}
    kept.sort(key=lambda s: order[s])
    return kept

# ---------------------------------------------------------------------------------------------
# Vector object texts

def obj2d_header(title, kind):
    return [
        "# Vector object text written by the line object editor 1.3",
        "# author: the VOXA7100 authors",
        "# date: 2015-07-06",
        "# free to use, copy and change together with the VOXA7100 program",
        "name " + title,
        "version 1.0",
        "author VOXA7100 authors",
        "type " + kind,
    ]


def write_font_obj2d(path, title, glyph_fn, colour):
    lines = obj2d_header(title, "font")
    for _ in range(4):
        lines.append(" ".join(["{ }"] * 8))
    lines += ["{", "name space", "color $" + colour, "}"]
    for code in range(33, 128):
        lines.append("{")
        lines.append("name " + ("escape" if code == 127 else chr(code)))
        for (x1, y1, x2, y2) in glyph_fn(code):
            lines.append("s %d, %d, %d, %d" % (x1, y1, x2, y2))
        lines.append("}")
    for _ in range(16):
        lines.append(" ".join(["{ }"] * 8))
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def write_pictures_obj2d(path, pictures):
    lines = obj2d_header("pictures", "pictures")
    lines.append("color $00ffffff")
    for name, segs in pictures:
        lines.append("{ name " + name)
        for (x1, y1, x2, y2) in segs:
            lines.append("s %d, %d, %d, %d" % (x1, y1, x2, y2))
        lines.append("}")
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")

# ---------------------------------------------------------------------------------------------
# Bitmap fonts drawn from the line font's skeleton with a round pen.

def glyph_pixel_segments(code, scale_x, scale_y, ox, oy, small_caps=False):
    segs = glyph16(code)
    if not segs:
        return []
    sy = scale_y
    top = oy
    if small_caps and "a" <= chr(code) <= "z":
        # Lower case: the capital's shape at three quarters height, standing on the base line.
        sy = scale_y * 0.72
        top = oy + 14 * (scale_y - sy)
    return [((x1 - 2) * scale_x + ox, y1 * sy + top, (x2 - 2) * scale_x + ox, y2 * sy + top)
            for (x1, y1, x2, y2) in segs]


def build_scroll_font32():
    """512 x 288 bitmap, 32 x 32 cells: bold white letters for the big sine scroller."""
    width, height = 512, 288
    bits = grid(width, height, False)
    radius = 3.1
    for code in range(33, 128):
        cx0, cy0 = (code % 16) * 32, (code // 16) * 32
        segs = glyph_pixel_segments(code, 1.78, 1.72, 7.1, 3.9, small_caps=True)
        for y in range(32):
            for x in range(32):
                d, _, _ = nearest(x + 0.5, y + 0.5, segs)
                if d <= radius:
                    bits[cy0 + y][cx0 + x] = True
    return bits, width, height


def build_scroll_font16():
    """256 x 256 greymap, 16 x 16 cells: anti-aliased tube letters lit from the top left."""
    size = 256
    grey = grid(size, size, 0.0)
    radius = 1.05
    sub = 4
    for code in range(33, 128):
        cx0, cy0 = (code % 16) * 16, (code // 16) * 16
        segs = glyph_pixel_segments(code, 0.86, 0.92, 3.2, 1.3, small_caps=True)
        for y in range(16):
            for x in range(16):
                cover = 0.0
                light = 0.0
                for sy in range(sub):
                    for sx in range(sub):
                        px = x + (sx + 0.5) / sub
                        py = y + (sy + 0.5) / sub
                        d, ox, oy = nearest(px, py, segs)
                        if d <= radius:
                            cover += 1
                            # Offset towards the top left catches the light, the far side is shade.
                            facing = -(ox + oy) / (math.sqrt(2) * radius)
                            light += 0.78 + 0.22 * facing
                if cover:
                    shade = light / cover
                    fall = 1.0 - 0.32 * clamp((y - 1.0) / 13.0)
                    value = 255 * shade * fall * (cover / (sub * sub))
                    grey[cy0 + y][cx0 + x] = max(1.0, min(255.0, value))
    return grey, size, size


STACK_CODES = "0123456789:.+-!?"


def build_stack_font(style):
    """16 x 256 pixmap: sixteen 16 x 16 cells, digits and signs with a dark rim."""
    width, height = 16, 256
    rgb = grid(width, height, (0, 0, 0))
    if style == "a":
        stops = [(0.0, (255, 250, 190)), (0.45, (255, 208, 60)), (0.55, (235, 140, 20)),
                 (1.0, (170, 60, 10))]
        rim = (60, 20, 4)
    else:
        stops = [(0.0, (235, 255, 255)), (0.45, (120, 210, 255)), (0.55, (40, 120, 230)),
                 (1.0, (90, 40, 200))]
        rim = (10, 16, 70)
    radius = 1.25
    sub = 4
    for k, ch in enumerate(STACK_CODES):
        segs = glyph_pixel_segments(ord(ch), 0.9, 0.8, 3.5, 2.3)
        for y in range(16):
            for x in range(16):
                fill = 0
                edge = 0
                for sy in range(sub):
                    for sx in range(sub):
                        d, _, _ = nearest(x + (sx + 0.5) / sub, y + (sy + 0.5) / sub, segs)
                        if d <= radius:
                            fill += 1
                        elif d <= radius + 1.15:
                            edge += 1
                n = sub * sub
                if fill + edge < n * 0.3:
                    continue
                body = ramp(stops, (y - 1.5) / 12.5)
                colour = lerp3(rim, body, fill / (fill + edge))
                rgb[k * 16 + y][x] = tuple(max(1, c) for c in colour)
    return rgb, width, height

# ---------------------------------------------------------------------------------------------
# Logo, splash, radial mask and mouse arrow

def logo_strokes(x0, y0, w, h, gap):
    """Centre lines of the letters V, O, X, A in a row, each w wide and h tall."""
    segs = []
    x = x0
    segs += polyline_segments([(x, y0), (x + w / 2, y0 + h), (x + w, y0)])
    x += w + gap
    segs += polyline_segments(ellipse_points(x + w / 2, y0 + h / 2, w / 2, h / 2, 40))
    x += w + gap
    segs += [(x, y0, x + w, y0 + h), (x + w, y0, x, y0 + h)]
    x += w + gap
    segs += polyline_segments([(x, y0 + h), (x + w / 2, y0), (x + w, y0 + h)])
    segs += [(x + w * 0.2, y0 + h * 0.64, x + w * 0.8, y0 + h * 0.64)]
    return segs


def shear(segs, k, y_mid):
    return [(x1 + k * (y_mid - y1), y1, x2 + k * (y_mid - y2), y2) for (x1, y1, x2, y2) in segs]


def text_strokes(text, x0, y0, sx, sy):
    segs = []
    for i, ch in enumerate(text):
        g = glyph16(ord(ch)) or []
        ox = x0 + i * 16 * sx
        segs += [((a - 2) * sx + ox, b * sy + y0, (c - 2) * sx + ox, d * sy + y0) for (a, b, c, d) in g]
    return segs


def fit_x(segs, centre):
    """The segments moved sideways so that their extent is centred on the column centre."""
    lo = min(min(a, c) for (a, b, c, d) in segs)
    hi = max(max(a, c) for (a, b, c, d) in segs)
    dx = centre - (lo + hi) / 2
    return [(a + dx, b, c + dx, d) for (a, b, c, d) in segs]


def build_logo():
    width, height = 128, 64
    rgb = grid(width, height, (0, 0, 0))
    top, tall = 8.0, 35.0
    raw = shear(logo_strokes(0.0, top, 19.0, tall, 9.5), 0.16, top + tall / 2)
    letters = fit_x(raw, 63.0)
    # A glint on the upper left of the O, carried by the same shear and shift as the letters.
    gy = top + tall / 2 - (tall / 2 + 4.5) * 0.72
    gx = 28.5 + 9.5 - (9.5 + 4.5) * 0.72 + 0.16 * (top + tall / 2 - gy) + (letters[0][0] - raw[0][0])
    radius, rim = 4.6, 1.7
    chrome = [(0.0, (70, 140, 255)), (0.30, (170, 225, 255)), (0.47, (250, 252, 255)),
              (0.50, (50, 30, 120)), (0.62, (160, 60, 150)), (0.80, (250, 140, 70)),
              (1.0, (255, 235, 150))]
    outline = (16, 10, 48)
    shadow = (34, 22, 80)
    sub = 3
    for y in range(height):
        for x in range(width):
            fill = edge = 0
            light = 0.0
            for sy in range(sub):
                for sx in range(sub):
                    px, py = x + (sx + 0.5) / sub, y + (sy + 0.5) / sub
                    d, ox, oy = nearest(px, py, letters)
                    if d <= radius:
                        fill += 1
                        light += -(ox + oy) / (math.sqrt(2) * radius)
                    elif d <= radius + rim:
                        edge += 1
            n = sub * sub
            if fill + edge >= n * 0.4:
                t = (y + 0.5 - (top - radius)) / (tall + 2 * radius)
                body = ramp(chrome, t)
                if fill:
                    bevel = light / fill
                    if bevel > 0:
                        body = lerp3(body, (255, 255, 255), 0.35 * bevel)
                    else:
                        body = lerp3(body, (20, 10, 60), -0.30 * bevel)
                rgb[y][x] = lerp3(outline, body, fill / (fill + edge))
                continue
            # The drop shadow, down and to the right of the rim.
            d, _, _ = nearest(x + 0.5 - 2.0, y + 0.5 - 3.0, letters)
            if d <= radius + rim:
                rgb[y][x] = shadow
    # "7100" small and centred under the letters, between two lines that fade out sideways.
    number = text_strokes("7100", 0.0, 53.0, 0.55, 0.55)
    number = fit_x(number, 64.0)
    for y in range(height):
        for x in range(width):
            px, py = x + 0.5, y + 0.5
            if rgb[y][x] != (0, 0, 0):
                continue
            d, _, _ = nearest(px, py, number)
            if d <= 1.0:
                rgb[y][x] = ramp([(0.0, (255, 255, 255)), (1.0, (255, 200, 120))], (py - 53) / 8)
            elif d <= 2.0:
                rgb[y][x] = outline
            elif 57 <= y <= 58 and (10 <= x <= 42 or 86 <= x <= 117):
                t = (x - 10) / 32.0 if x < 64 else (117 - x) / 31.0
                c = ramp([(0.0, (40, 30, 110)), (1.0, (120, 200, 255) if y == 57 else (60, 110, 220))], t)
                rgb[y][x] = c
    for y in range(height):
        for x in range(width):
            ax, ay = abs(x + 0.5 - gx), abs(y + 0.5 - gy)
            glow = max(clamp(1.0 - ax / 9.0) * clamp(1.0 - ay / 1.2),
                       clamp(1.0 - ay / 9.0) * clamp(1.0 - ax / 1.2),
                       clamp(1.0 - math.hypot(ax, ay) / 3.0))
            if rgb[y][x] == (0, 0, 0) and glow < 0.3:
                continue
            if glow > 0:
                rgb[y][x] = lerp3(rgb[y][x], (255, 255, 255), glow)
    for y in range(height):
        for x in range(width):
            c = rgb[y][x]
            if c != (0, 0, 0) and max(c) < 1:
                rgb[y][x] = (1, 1, 1)
    return rgb, width, height


def build_splash():
    """128 x 64 bitmap. On screen it is inverted: clear bits are white, set bits show through."""
    width, height = 128, 64
    bits = grid(width, height, True)

    def rounded_inside(x, y, x0, y0, x1, y1, r):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    emblem_wave = polyline_segments([(24 + i * 0.5, 32 - 7 * math.sin(i * 0.5 / 12.0 * math.pi))
                                     for i in range(-30, 31)])
    title = fit_x(text_strokes("VOXA", 0.0, 10.0, 1.2, 1.45), 83.0)
    number = fit_x(text_strokes("7100", 0.0, 41.0, 0.8, 0.8), 83.0)
    for y in range(height):
        for x in range(width):
            px, py = x + 0.5, y + 0.5
            plate = rounded_inside(px, py, 0.5, 0.5, 127.5, 63.5, 7)
            inner = rounded_inside(px, py, 3.5, 3.5, 124.5, 60.5, 5)
            inner2 = rounded_inside(px, py, 5.5, 5.5, 122.5, 58.5, 4)
            clear = plate and not (inner and not inner2)
            if clear:
                # Emblem: a ring with a sine wave through it, cut out of the plate.
                d = math.hypot(px - 24, py - 32)
                if 16 <= d <= 19.5:
                    clear = False
                if d < 14.0 and nearest(px, py, emblem_wave)[0] <= 1.9:
                    clear = False
                if nearest(px, py, title)[0] <= 2.6:
                    clear = False
                if nearest(px, py, number)[0] <= 1.4:
                    clear = False
                if 48 <= px <= 118 and 35.5 <= py <= 37.5:
                    clear = False
            bits[y][x] = not clear
    return bits, width, height


def build_radial():
    """256 x 128 bitmap; the dots of the first scene show through its clear bits only."""
    width, height = 256, 128
    bits = grid(width, height, True)
    top, tall = 14.0, 92.0
    letters = fit_x(shear(logo_strokes(0.0, top, 40.0, tall, 16.0), 0.12, top + tall / 2), 128.0)
    radius = 10.0
    for y in range(height):
        for x in range(width):
            px, py = x + 0.5, y + 0.5
            d, _, _ = nearest(px, py, letters)
            inside = d <= radius
            if inside:
                # Slits that widen towards the base line, the old chrome-poster way.
                t = (py - (top - radius)) / (tall + 2 * radius)
                if t > 0.5:
                    period = 6
                    slit = 1 + int((t - 0.5) * 6)
                    if (y % period) < slit:
                        inside = False
            bits[y][x] = not inside
    return bits, width, height


MOUSE_ART = [
    "O...............",
    "OO..............",
    "OWO.............",
    "OWWO............",
    "OWWWO...........",
    "OWWWWO..........",
    "OWWWWWO.........",
    "OWWWWWWO........",
    "OWWWWWWWO.......",
    "OWWWWWWWWO......",
    "OWWWWWOOOOO.....",
    "OWWOWWO.........",
    "OWO.OWWO........",
    "OO..OWWO........",
    "O....OWWO.......",
    ".....OOOO.......",
]


def build_mouse():
    rgb = grid(16, 16, (0, 0, 0))
    for y, row in enumerate(MOUSE_ART):
        for x, ch in enumerate(row):
            if ch == "O":
                rgb[y][x] = (24, 28, 56)
            elif ch == "W":
                t = (x + y) / 20.0
                rgb[y][x] = lerp3((255, 255, 255), (150, 200, 255), t)
    return rgb, 16, 16

# ---------------------------------------------------------------------------------------------
# Picture collection: small line drawings on a 16 x 16 grid.

def P(*pts):
    return polyline_segments(list(pts))


def C(*pts):
    return polyline_segments(list(pts), closed=True)


def circ(cx, cy, r, n=12, a0=0.0):
    pts = []
    for i in range(n):
        a = math.radians(a0 + 360.0 * i / n)
        pts.append((int(round(cx + r * math.cos(a))), int(round(cy + r * math.sin(a)))))
    return polyline_segments(pts, closed=True)


def ell(cx, cy, rx, ry, n=12):
    pts = []
    for i in range(n):
        a = 2 * math.pi * i / n
        pts.append((int(round(cx + rx * math.cos(a))), int(round(cy + ry * math.sin(a)))))
    return polyline_segments(pts, closed=True)


def arc(cx, cy, r, a0, a1, n=6):
    pts = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        pts.append((int(round(cx + r * math.cos(a))), int(round(cy + r * math.sin(a)))))
    return polyline_segments(pts)


def star(cx, cy, r_out, r_in, points, a0=-90.0):
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(a0 + 180.0 * i / points)
        pts.append((int(round(cx + r * math.cos(a))), int(round(cy + r * math.sin(a)))))
    return polyline_segments(pts, closed=True)


def spokes(cx, cy, r0, r1, n, a0=0.0):
    segs = []
    for i in range(n):
        a = math.radians(a0 + 360.0 * i / n)
        segs.append((int(round(cx + r0 * math.cos(a))), int(round(cy + r0 * math.sin(a))),
                     int(round(cx + r1 * math.cos(a))), int(round(cy + r1 * math.sin(a)))))
    return segs


def cloud_outline(y_base=11):
    return P((3, y_base), (1, y_base - 1), (1, y_base - 3), (3, y_base - 4), (4, y_base - 6),
             (7, y_base - 7), (10, y_base - 6), (11, y_base - 4), (13, y_base - 4), (15, y_base - 2),
             (14, y_base), (3, y_base))


def pictures():
    pics = [
        ("apple", C((8, 4), (11, 3), (14, 5), (14, 10), (11, 15), (8, 14), (5, 15), (2, 10), (2, 5), (5, 3))
         + P((8, 4), (8, 1)) + C((8, 2), (11, 0), (13, 1), (10, 3))),
        ("pear", C((7, 3), (9, 3), (10, 6), (13, 10), (13, 13), (11, 15), (5, 15), (3, 13), (3, 10), (6, 6))
         + P((8, 3), (9, 0)) + P((9, 1), (12, 1), (10, 3))),
        ("cherries", circ(4, 12, 3, 10) + circ(12, 11, 3, 10) + P((4, 9), (7, 4), (9, 1)) + P((12, 8), (9, 1))
         + C((9, 1), (13, 0), (14, 2), (11, 3))),
        ("banana", P((1, 6), (3, 11), (7, 14), (11, 14), (14, 12), (15, 10)) + P((1, 6), (4, 9), (8, 11), (12, 11), (15, 10))
         + P((1, 6), (0, 5), (1, 4))),
        ("lemon", C((1, 8), (3, 5), (7, 3), (11, 4), (14, 7), (15, 8), (14, 9), (11, 12), (7, 13), (3, 11)) + P((15, 8), (15, 7))),
        ("strawberry", C((2, 4), (14, 4), (13, 9), (10, 13), (8, 15), (6, 13), (3, 9))
         + P((3, 4), (5, 1), (8, 3), (11, 1), (13, 4)) + P((6, 7), (6, 8)) + P((10, 7), (10, 8)) + P((8, 10), (8, 11))
         + P((5, 10), (5, 10)) + P((11, 10), (11, 10))),
        ("orange", circ(8, 9, 6, 16) + P((8, 3), (8, 1)) + C((8, 2), (10, 0), (13, 1), (10, 3)) + P((6, 6), (5, 7))),
        ("melon", P((0, 5), (2, 10), (5, 13), (8, 14), (11, 13), (14, 10), (15, 5), (0, 5))
         + P((2, 6), (4, 10), (8, 12), (12, 10), (14, 6)) + P((5, 7), (5, 8)) + P((8, 8), (8, 9)) + P((11, 7), (11, 8))),
        ("football", circ(8, 8, 7, 16) + C((8, 5), (11, 7), (10, 11), (6, 11), (5, 7))
         + P((8, 5), (8, 1)) + P((11, 7), (15, 6)) + P((10, 11), (12, 14)) + P((6, 11), (4, 14)) + P((5, 7), (1, 6))),
        ("beachball", circ(8, 8, 7, 16) + P((8, 1), (5, 5), (4, 9), (5, 13), (8, 15)) + P((8, 1), (11, 5), (12, 9), (11, 13), (8, 15))
         + P((1, 8), (15, 8))),
        ("basketball", circ(8, 8, 7, 16) + P((8, 1), (8, 15)) + P((1, 8), (15, 8))
         + P((3, 3), (5, 6), (5, 10), (3, 13)) + P((13, 3), (11, 6), (11, 10), (13, 13))),
        ("rugbyball", C((1, 8), (3, 5), (8, 3), (13, 5), (15, 8), (13, 11), (8, 13), (3, 11))
         + P((5, 8), (11, 8)) + P((6, 7), (6, 9)) + P((8, 7), (8, 9)) + P((10, 7), (10, 9))),
        ("bird", P((0, 6), (3, 4), (6, 5), (8, 8), (10, 5), (13, 4), (15, 6))),
        ("birds", P((0, 5), (2, 3), (4, 4), (5, 6), (6, 4), (8, 3), (10, 5)) + P((7, 12), (9, 10), (11, 11), (12, 13), (13, 11), (15, 10))),
        ("robin", C((4, 6), (6, 3), (9, 3), (10, 5), (13, 8), (15, 8), (13, 11), (9, 13), (5, 12), (3, 10))
         + P((4, 6), (2, 7), (4, 7)) + P((7, 5), (7, 5)) + P((7, 13), (6, 15)) + P((9, 13), (10, 15)) + P((6, 9), (9, 11), (12, 10))),
        ("duck", C((2, 9), (5, 9), (5, 6), (4, 4), (6, 2), (8, 3), (8, 6), (7, 9), (13, 8), (15, 6), (15, 10), (12, 14), (5, 14), (2, 11))
         + P((8, 4), (11, 5), (8, 5)) + P((6, 4), (6, 4)) + P((7, 11), (11, 11), (13, 9))),
        ("bricks", C((0, 2), (15, 2), (15, 14), (0, 14)) + P((0, 6), (15, 6)) + P((0, 10), (15, 10))
         + P((5, 2), (5, 6)) + P((11, 2), (11, 6)) + P((3, 6), (3, 10)) + P((8, 6), (8, 10)) + P((13, 6), (13, 10))
         + P((5, 10), (5, 14)) + P((11, 10), (11, 14))),
        ("wall", C((0, 4), (15, 4), (15, 15), (0, 15)) + P((0, 1), (3, 1), (3, 4)) + P((6, 4), (6, 1), (9, 1), (9, 4))
         + P((12, 4), (12, 1), (15, 1), (15, 4)) + P((0, 9), (15, 9)) + P((5, 4), (5, 9)) + P((10, 4), (10, 9))
         + P((3, 9), (3, 15)) + P((8, 9), (8, 15)) + P((13, 9), (13, 15))),
        ("car", P((0, 11), (0, 8), (3, 7), (5, 4), (11, 4), (13, 7), (15, 8), (15, 11), (13, 11)) + P((10, 11), (6, 11))
         + P((3, 11), (0, 11)) + circ(4, 12, 2, 8) + circ(11, 12, 2, 8) + P((4, 7), (6, 5), (8, 5), (8, 7), (4, 7))
         + P((9, 5), (11, 5), (12, 7), (9, 7), (9, 5))),
        ("truck", C((0, 3), (9, 3), (9, 12), (0, 12)) + P((9, 6), (13, 6), (15, 9), (15, 12), (9, 12))
         + P((10, 7), (12, 7), (13, 9), (10, 9), (10, 7)) + circ(3, 13, 2, 8) + circ(12, 13, 2, 8)),
        ("bus", C((0, 3), (15, 3), (15, 12), (0, 12)) + P((0, 8), (15, 8)) + P((3, 3), (3, 8)) + P((6, 3), (6, 8))
         + P((9, 3), (9, 8)) + P((12, 3), (12, 8)) + circ(3, 13, 2, 8) + circ(12, 13, 2, 8)),
        ("cloud", cloud_outline(12)),
        ("raincloud", cloud_outline(9) + P((4, 11), (3, 13)) + P((8, 11), (7, 13)) + P((12, 11), (11, 13))
         + P((6, 13), (5, 15)) + P((10, 13), (9, 15))),
        ("thundercloud", cloud_outline(8) + P((8, 8), (5, 12), (8, 12), (6, 15), (11, 10), (8, 10), (10, 8))),
        ("flower", circ(8, 5, 1, 6) + C((8, 4), (6, 1), (8, 0), (10, 1)) + C((9, 5), (12, 3), (14, 5), (12, 7))
         + C((8, 6), (10, 8), (8, 10), (6, 8)) + C((7, 5), (4, 7), (2, 5), (4, 3)) + P((8, 10), (8, 15))
         + P((8, 13), (11, 11), (12, 12), (8, 13))),
        ("tulip", P((4, 2), (6, 5), (8, 2), (10, 5), (12, 2), (12, 6), (10, 9), (6, 9), (4, 6), (4, 2))
         + P((8, 9), (8, 15)) + P((8, 13), (5, 10), (4, 12), (8, 14)) + P((8, 12), (11, 10), (12, 11), (8, 13))),
        ("happy", circ(8, 8, 7, 16) + P((5, 5), (5, 7)) + P((11, 5), (11, 7)) + P((4, 10), (6, 12), (10, 12), (12, 10))),
        ("sad", circ(8, 8, 7, 16) + P((5, 5), (5, 7)) + P((11, 5), (11, 7)) + P((4, 12), (6, 10), (10, 10), (12, 12))),
        ("surprised", circ(8, 8, 7, 16) + P((5, 4), (5, 6)) + P((11, 4), (11, 6)) + C((7, 9), (9, 9), (10, 11), (9, 13), (7, 13), (6, 11))),
        ("wink", circ(8, 8, 7, 16) + P((4, 6), (6, 6)) + P((11, 5), (11, 7)) + P((4, 10), (6, 12), (10, 12), (12, 10))),
        ("robot", C((3, 3), (13, 3), (13, 13), (3, 13)) + C((5, 6), (7, 6), (7, 8), (5, 8)) + C((9, 6), (11, 6), (11, 8), (9, 8))
         + P((5, 11), (11, 11)) + P((8, 3), (8, 0)) + P((1, 7), (3, 7)) + P((13, 7), (15, 7))),
        ("star", star(8, 8, 7, 3, 5, -90.0)),
        ("sparkle", C((8, 0), (9, 7), (16 - 1, 8), (9, 9), (8, 15), (7, 9), (0, 8), (7, 7))),
        ("starburst", star(8, 8, 7, 4, 8, -90.0)),
        ("shootingstar", star(10, 5, 5, 2, 5) + P((7, 7), (0, 14)) + P((8, 9), (3, 15)) + P((6, 5), (1, 10))),
        ("fir", C((8, 0), (12, 5), (10, 5), (14, 10), (11, 10), (15, 14), (1, 14), (5, 10), (2, 10), (6, 5), (4, 5)) + P((7, 14), (7, 15), (9, 15), (9, 14))),
        ("tree", P((7, 15), (7, 10), (4, 9), (2, 7), (2, 4), (4, 2), (7, 1), (10, 1), (13, 3), (14, 6), (13, 8), (10, 10), (9, 10), (9, 15))
         + P((7, 10), (8, 8)) + P((9, 10), (8, 8))),
        ("palm", P((7, 15), (8, 10), (8, 5)) + P((9, 15), (10, 10), (9, 5)) + P((8, 5), (4, 3), (1, 5)) + P((8, 5), (7, 2), (4, 1))
         + P((9, 5), (12, 2), (15, 3)) + P((9, 5), (13, 6), (14, 9)) + P((8, 5), (5, 7), (4, 10))),
        ("cactus", P((6, 15), (6, 2), (8, 1), (10, 2), (10, 15)) + P((6, 9), (3, 9), (2, 8), (2, 5)) + P((10, 7), (13, 7), (14, 6), (14, 3))
         + P((3, 15), (13, 15))),
        ("wheel", circ(8, 8, 7, 16) + circ(8, 8, 2, 8) + spokes(8, 8, 2, 7, 8, 22.5)),
        ("gear", star(8, 8, 7, 5, 8, 0.0) + circ(8, 8, 2, 8)),
        ("tyre", circ(8, 8, 7, 16) + circ(8, 8, 4, 12) + spokes(8, 8, 4, 7, 12)),
        ("house", C((2, 7), (8, 1), (14, 7), (13, 7), (13, 15), (3, 15), (3, 7)) + C((7, 10), (9, 10), (9, 15), (7, 15))
         + C((4, 9), (6, 9), (6, 11), (4, 11)) + P((11, 4), (11, 1), (12, 1), (12, 5))),
        ("castle", P((1, 15), (1, 3), (3, 3), (3, 5), (5, 5), (5, 3), (7, 3), (7, 5), (9, 5), (9, 3), (11, 3), (11, 5), (13, 5), (13, 3), (15, 3), (15, 15), (1, 15))
         + P((6, 15), (6, 11), (8, 9), (10, 11), (10, 15))),
        ("boat", C((0, 9), (15, 9), (12, 13), (3, 13)) + C((5, 9), (5, 5), (11, 5), (11, 9)) + C((7, 5), (7, 3), (9, 3), (9, 5))),
        ("sailboat", C((1, 11), (15, 11), (12, 14), (4, 14)) + P((8, 11), (8, 0)) + C((8, 1), (14, 9), (8, 9)) + C((7, 3), (3, 9), (7, 9))),
        ("fish", C((1, 8), (5, 4), (9, 4), (12, 7), (15, 4), (15, 12), (12, 9), (9, 12), (5, 12)) + P((4, 7), (4, 7)) + P((6, 10), (7, 8), (6, 6))),
        ("heart", C((8, 4), (10, 1), (13, 1), (15, 3), (15, 6), (8, 14), (1, 6), (1, 3), (3, 1), (6, 1))),
        ("arrowup", C((8, 0), (15, 7), (11, 7), (11, 15), (5, 15), (5, 7), (1, 7))),
        ("arrowdown", C((8, 15), (15, 8), (11, 8), (11, 0), (5, 0), (5, 8), (1, 8))),
        ("arrowleft", C((0, 8), (7, 1), (7, 5), (15, 5), (15, 11), (7, 11), (7, 15))),
        ("arrowright", C((15, 8), (8, 1), (8, 5), (0, 5), (0, 11), (8, 11), (8, 15))),
        ("moon", P((9, 1), (5, 2), (2, 5), (1, 9), (3, 13), (7, 15), (11, 15), (14, 12), (11, 12), (7, 10), (6, 6), (7, 3), (9, 1))),
        ("sun", circ(8, 8, 4, 12) + spokes(8, 8, 5, 7, 8)),
        ("rocket", C((8, 0), (11, 4), (11, 11), (5, 11), (5, 4)) + C((5, 7), (2, 11), (2, 13), (5, 11)) + C((11, 7), (14, 11), (14, 13), (11, 11))
         + circ(8, 6, 1, 6) + P((7, 12), (6, 15)) + P((9, 12), (10, 15)) + P((8, 12), (8, 15))),
        ("umbrella", P((0, 7), (2, 3), (5, 1), (8, 0), (11, 1), (14, 3), (15, 7), (12, 6), (8, 7), (4, 6), (0, 7))
         + P((8, 0), (8, 13), (7, 15), (5, 14), (5, 13))),
        ("key", circ(4, 8, 3, 10) + P((7, 8), (15, 8), (15, 11)) + P((12, 8), (12, 11))),
        ("bell", P((2, 13), (4, 11), (4, 5), (6, 2), (10, 2), (12, 5), (12, 11), (14, 13), (2, 13))
         + P((8, 2), (8, 0)) + P((7, 13), (7, 15), (9, 15), (9, 13))),
        ("cup", C((2, 4), (11, 4), (10, 14), (3, 14)) + P((11, 6), (14, 6), (14, 10), (10, 11)) + P((5, 2), (6, 0)) + P((8, 2), (9, 0))),
        ("bottle", C((6, 0), (10, 0), (10, 4), (12, 7), (12, 15), (4, 15), (4, 7), (6, 4)) + C((4, 9), (12, 9), (12, 13), (4, 13))),
        ("mushroom", P((1, 8), (2, 4), (5, 1), (8, 0), (11, 1), (14, 4), (15, 8), (1, 8)) + P((6, 8), (5, 15), (11, 15), (10, 8))
         + circ(5, 4, 1, 6) + circ(10, 4, 1, 6)),
        ("cat", C((2, 15), (2, 6), (4, 1), (6, 5), (10, 5), (12, 1), (14, 6), (14, 15)) + P((5, 9), (5, 9)) + P((11, 9), (11, 9))
         + P((7, 11), (8, 12), (9, 11)) + P((0, 10), (5, 11)) + P((0, 13), (5, 12)) + P((16 - 1, 10), (11, 11)) + P((15, 13), (11, 12))),
        ("snowman", circ(8, 11, 4, 12) + circ(8, 4, 3, 10) + P((7, 3), (7, 3)) + P((9, 3), (9, 3)) + P((8, 5), (11, 5))
         + P((4, 9), (1, 6)) + P((12, 9), (15, 6)) + P((5, 1), (11, 1))),
        ("diamond", C((4, 2), (12, 2), (15, 6), (8, 15), (1, 6)) + P((1, 6), (15, 6)) + P((4, 2), (6, 6), (8, 15), (10, 6), (12, 2)) + P((8, 2), (6, 6)) + P((8, 2), (10, 6))),
        ("crown", C((1, 4), (4, 8), (8, 2), (12, 8), (15, 4), (14, 13), (2, 13)) + P((2, 11), (14, 11))),
        ("anchor", circ(8, 2, 1, 6) + P((8, 3), (8, 14)) + P((5, 5), (11, 5)) + P((1, 9), (3, 13), (8, 14), (13, 13), (15, 9))
         + P((1, 9), (3, 10)) + P((15, 9), (13, 10))),
        ("clock", circ(8, 8, 7, 16) + P((8, 8), (8, 3)) + P((8, 8), (11, 10)) + spokes(8, 8, 6, 7, 4)),
        ("lightbulb", P((6, 11), (4, 8), (3, 5), (5, 2), (8, 1), (11, 2), (13, 5), (12, 8), (10, 11), (6, 11))
         + C((6, 12), (10, 12), (10, 14), (6, 14)) + P((7, 15), (9, 15)) + P((7, 11), (7, 7), (9, 7), (9, 11))),
        ("note", C((1, 13), (3, 11), (5, 11), (5, 13), (3, 15), (1, 15)) + C((10, 12), (12, 10), (14, 10), (14, 12), (12, 14), (10, 14))
         + P((5, 12), (5, 2), (14, 0), (14, 11)) + P((5, 5), (14, 3))),
        ("tent", C((0, 14), (8, 1), (15, 14)) + P((8, 1), (5, 14)) + P((8, 1), (11, 14)) + P((8, 1), (8, 0))),
        ("mountain", P((0, 14), (5, 4), (8, 8), (10, 6), (15, 14), (0, 14)) + P((3, 8), (5, 9), (7, 7))),
        ("kite", C((8, 0), (13, 5), (8, 11), (3, 5)) + P((8, 0), (8, 11)) + P((3, 5), (13, 5)) + P((8, 11), (6, 13), (9, 14), (7, 15))),
        ("balloon", P((8, 11), (4, 9), (3, 5), (5, 1), (8, 0), (11, 1), (13, 5), (12, 9), (8, 11)) + P((7, 12), (9, 12), (8, 11), (7, 12))
         + P((8, 12), (7, 14), (9, 15))),
        ("wineglass", P((3, 0), (4, 5), (6, 7), (8, 8), (10, 7), (12, 5), (13, 0), (3, 0)) + P((8, 8), (8, 14)) + P((4, 15), (12, 15), (8, 14), (4, 15))),
        ("candle", C((5, 6), (11, 6), (11, 15), (5, 15)) + C((8, 1), (9, 3), (8, 5), (7, 3)) + P((8, 5), (8, 6))),
        ("ladder", P((4, 0), (4, 15)) + P((12, 0), (12, 15)) + P((4, 2), (12, 2)) + P((4, 6), (12, 6)) + P((4, 10), (12, 10)) + P((4, 14), (12, 14))),
        ("window", C((1, 1), (15, 1), (15, 15), (1, 15)) + C((3, 3), (13, 3), (13, 13), (3, 13)) + P((8, 3), (8, 13)) + P((3, 8), (13, 8))),
        ("spiral", P((8, 8), (9, 8), (9, 9), (7, 9), (6, 7), (7, 6), (10, 6), (11, 8), (11, 10), (9, 12), (6, 12), (4, 10), (4, 6), (6, 4),
                     (10, 4), (13, 6), (13, 11), (11, 14), (5, 14), (2, 11), (2, 5), (5, 2), (11, 2), (14, 3))),
        ("envelope", C((0, 3), (15, 3), (15, 13), (0, 13)) + P((0, 3), (8, 9), (15, 3)) + P((0, 13), (6, 8)) + P((15, 13), (10, 8))),
        ("flag", P((2, 15), (2, 0)) + C((2, 1), (6, 0), (10, 2), (14, 1), (14, 8), (10, 9), (6, 7), (2, 8))),
        ("pencil", C((1, 15), (2, 11), (12, 1), (15, 4), (5, 14)) + P((2, 11), (5, 14)) + P((10, 3), (13, 6))),
        ("hourglass", C((2, 0), (14, 0), (14, 1), (9, 7), (9, 9), (14, 14), (14, 15), (2, 15), (2, 14), (7, 9), (7, 7), (2, 1))
         + P((5, 13), (8, 11), (11, 13), (5, 13))),
        ("butterfly", P((8, 4), (8, 13)) + C((8, 6), (4, 1), (1, 2), (1, 6), (4, 8), (8, 7)) + C((8, 6), (12, 1), (15, 2), (15, 6), (12, 8), (8, 7))
         + C((8, 8), (4, 9), (2, 12), (4, 14), (8, 11)) + C((8, 8), (12, 9), (14, 12), (12, 14), (8, 11)) + P((8, 4), (6, 1)) + P((8, 4), (10, 1))),
        ("ghost", P((2, 15), (2, 6), (4, 2), (8, 1), (12, 2), (14, 6), (14, 15), (12, 13), (10, 15), (8, 13), (6, 15), (4, 13), (2, 15))
         + C((5, 6), (7, 6), (7, 8), (5, 8)) + C((9, 6), (11, 6), (11, 8), (9, 8))),
        ("skull", P((4, 12), (2, 9), (2, 5), (4, 2), (8, 1), (12, 2), (14, 5), (14, 9), (12, 12), (12, 15), (4, 15), (4, 12))
         + C((4, 7), (7, 7), (7, 9), (4, 9)) + C((9, 7), (12, 7), (12, 9), (9, 9)) + P((7, 12), (8, 10), (9, 12)) + P((6, 13), (6, 15)) + P((10, 13), (10, 15))),
        ("tv", C((0, 3), (15, 3), (15, 14), (0, 14)) + C((2, 5), (12, 5), (12, 12), (2, 12)) + P((5, 0), (8, 3), (11, 0)) + P((14, 6), (14, 7)) + P((14, 9), (14, 10))),
        ("bomb", circ(7, 9, 6, 14) + P((10, 4), (12, 2)) + P((12, 2), (13, 0)) + P((13, 2), (15, 1)) + P((12, 3), (15, 4)) + P((4, 7), (5, 5))),
    ]
    return pics

# ---------------------------------------------------------------------------------------------

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(here), "src", "assets")
    os.makedirs(out, exist_ok=True)

    def path(name):
        return os.path.join(out, name)

    write_font_obj2d(path("font16.obj2d"), "font2D-16", glyph16, "FFFFFF")
    write_font_obj2d(path("font8.obj2d"), "font2D-8", glyph8, "AACCEE")
    pics = pictures()
    write_pictures_obj2d(path("pictures.obj2d"), pics)
    write_ppm(path("mouse.ppm"), *build_mouse())
    write_pbm(path("splash.pbm"), *build_splash())
    write_pbm(path("radial.pbm"), *build_radial())
    write_ppm(path("stack_font_a.ppm"), *build_stack_font("a"))
    write_ppm(path("stack_font_b.ppm"), *build_stack_font("b"))
    write_ppm(path("logo.ppm"), *build_logo())
    write_pgm(path("scroll_font16.pgm"), *build_scroll_font16())
    write_pbm(path("scroll_font32.pbm"), *build_scroll_font32())
    print("wrote assets to %s (%d pictures)" % (out, len(pics)))


if __name__ == "__main__":
    main()
