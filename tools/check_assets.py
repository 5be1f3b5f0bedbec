#!/usr/bin/env python3
"""Checks the embedded assets: PNM headers and sizes, and the vector object texts.

Run: python3 tools/check_assets.py [asset folder]   (default: src/assets)
Exits with status 1 and names every fault it finds.

The object texts are read with a tokenizer that follows the program's own reading rules (bytes
taken as signed, separators, one-character sign tokens, words of up to 255 characters, the last
token acted on only when another byte follows it), so a glyph whose name is a sign such as "#",
"{" or "$" is checked the way the program will see it.
"""

import os
import sys

# (file, magic, width, height)
IMAGES = [
    ("splash.pbm", "P4", 128, 64),
    ("radial.pbm", "P4", 256, 128),
    ("scroll_font16.pgm", "P5", 256, 256),
    ("scroll_font32.pbm", "P4", 512, 288),
    ("stack_font_a.ppm", "P6", 16, 256),
    ("stack_font_b.ppm", "P6", 16, 256),
    ("logo.ppm", "P6", 128, 64),
    ("mouse.ppm", "P6", 16, 16),
]


def read_pnm(data):
    """(magic, width, height, maxval or None, raster bytes) of a file written as magic line,
    one comment line, size line and (except P4) maxval line."""
    lines = data.split(b"\n", 4)
    magic = lines[0].decode("ascii")
    if not lines[1].startswith(b"#"):
        raise ValueError("second line is not a comment")
    width, height = (int(v) for v in lines[2].split())
    if magic == "P4":
        raster = data[len(b"\n".join(lines[:3])) + 1:]
        return magic, width, height, None, raster
    maxval = int(lines[3])
    raster = lines[4]
    return magic, width, height, maxval, raster


def check_image(folder, name, magic, width, height, faults):
    with open(os.path.join(folder, name), "rb") as f:
        data = f.read()
    try:
        m, w, h, maxval, raster = read_pnm(data)
    except (ValueError, IndexError) as e:
        faults.append("%s: bad header (%s)" % (name, e))
        return None
    if (m, w, h) != (magic, width, height):
        faults.append("%s: expected %s %dx%d, got %s %dx%d" % (name, magic, width, height, m, w, h))
    if m != "P4" and maxval != 255:
        faults.append("%s: expected maxval 255, got %s" % (name, maxval))
    per_pixel = {"P4": None, "P5": 1, "P6": 3}[m]
    size = (w + 7) // 8 * h if per_pixel is None else w * h * per_pixel
    if len(raster) != size:
        faults.append("%s: expected %d raster bytes, got %d" % (name, size, len(raster)))
    return m, w, h, raster

# ---------------------------------------------------------------------------------------------
# Object text reader

def signed(b):
    return b - 256 if b >= 128 else b


def is_separator(b):
    s = signed(b)
    return (1 <= s <= 32) or s == 127 or s < 0 or b in (ord(","), ord(";"))


def is_sign(b):
    if b in (ord(","), ord(";")):
        return False
    return 33 <= b <= 47 or 58 <= b <= 64 or 91 <= b <= 96 or 123 <= b <= 126


def is_word(b):
    return 33 <= b <= 126 and b not in (ord(","), ord(";"))


class Obj:
    def __init__(self):
        self.name = None
        self.version = self.author = self.type = None
        self.segments = []  # ((x1, y1, c1), (x2, y2, c2))


def parse_objects(text):
    """List of objects (None for a closing brace without an opening one)."""
    data = text + b"\0"
    end = len(text)
    pos = 0
    result = []
    current = None
    colour = 0
    colour_pending = False
    seg = None  # list of coordinates gathered so far
    seg_colours = []
    sign = 1

    def text_value(p, skip_commas):
        n = end
        while p < n:
            b = data[p]
            s = signed(b)
            blank = (1 <= s <= 32) or s == 127 or s < 0
            if skip_commas and b in (ord(","), ord(";")):
                blank = True
            if not blank:
                break
            p += 1
        start = p
        while p < n and data[p] != 10:
            p += 1
        value = data[start:p].decode("latin-1")
        return (value if value else None), p

    while True:
        while pos < end and is_separator(data[pos]):
            pos += 1
        if pos >= end:
            break
        first = data[pos]
        if is_sign(first):
            token = bytes([first])
            pos += 1
        else:
            start = pos
            while pos < end and is_word(data[pos]) and pos - start < 255:
                pos += 1
            if pos == start:
                # A byte that is neither separator nor word (only a zero byte could be).
                pos += 1
                continue
            token = data[start:pos]
        if pos >= end:
            break
        low = token.lower()
        if token == b"#":
            while pos < end and data[pos] != 10:
                pos += 1
        elif token == b"{":
            if current is None:
                current = Obj()
        elif token == b"}":
            result.append(current)
            current = None
        elif token in (b'"', b"="):
            pass
        elif token == b"-":
            sign = -1
        elif token == b"$":
            start = pos
            if pos < end and is_sign(data[pos]):
                pos += 1
            else:
                while pos < end and is_word(data[pos]) and pos - start < 254:
                    pos += 1
            value = 0
            for b in data[start:pos]:
                ch = chr(b).lower()
                if ch in "0123456789abcdef":
                    value = (value * 16 + int(ch, 16)) & 0xFFFFFFFF
                else:
                    break
            if colour_pending:
                colour = value
                colour_pending = False
        elif low == b"name":
            value, pos = text_value(pos, False)
            if current is not None:
                current.name = value
        elif low in (b"version", b"author", b"type"):
            value, pos = text_value(pos, True)
            if current is not None:
                setattr(current, low.decode(), value)
        elif 48 <= token[0] <= 57:
            value = 0
            for b in token:
                if 48 <= b <= 57:
                    value = value * 10 + (b - 48)
                else:
                    break
            value *= sign
            sign = 1
            if seg is not None:
                seg.append(value)
                if len(seg) in (2, 4):
                    seg_colours.append(colour)
                if len(seg) == 4:
                    if current is not None:
                        current.segments.append(((seg[0], seg[1], seg_colours[0]), (seg[2], seg[3], seg_colours[1])))
                    seg = None
                    seg_colours = []
        elif token[:1] in (b"x", b"X", b"h", b"H"):
            value = 0
            for b in token[1:]:
                ch = chr(b).lower()
                if ch in "0123456789abcdef":
                    value = (value * 16 + int(ch, 16)) & 0xFFFFFFFF
                else:
                    break
            if colour_pending:
                colour = value
                colour_pending = False
        elif token[:1] in (b"c", b"C"):
            colour_pending = True
        elif token[:1] in (b"s", b"S"):
            if seg is None:
                seg = []
                seg_colours = []
    return result


def check_font(folder, name, units, colour, faults):
    with open(os.path.join(folder, name), "rb") as f:
        text = f.read()
    if not text.endswith(b"\n"):
        faults.append("%s: does not end with a line feed" % name)
    objs = parse_objects(text)
    if len(objs) != 256:
        faults.append("%s: expected 256 objects, got %d" % (name, len(objs)))
        return objs
    for code, obj in enumerate(objs):
        if obj is None:
            faults.append("%s: object %d is null" % (name, code))
            continue
        if code < 32 or code > 127:
            if obj.name is not None or obj.segments:
                faults.append("%s: object %d should be empty" % (name, code))
            continue
        if code == 32:
            expected = "space"
        elif code == 127:
            expected = "escape"
        else:
            expected = chr(code)
        if obj.name != expected:
            faults.append("%s: object %d: expected name %r, got %r" % (name, code, expected, obj.name))
        if code == 32:
            if obj.segments:
                faults.append("%s: space has segments" % name)
            continue
        if not obj.segments:
            faults.append("%s: glyph %d has no segments" % (name, code))
        for (p1, p2) in obj.segments:
            for (x, y, c) in (p1, p2):
                if not (0 <= x < units and 0 <= y < units):
                    faults.append("%s: glyph %d: point (%d, %d) outside 0..%d" % (name, code, x, y, units - 1))
                if c != colour:
                    faults.append("%s: glyph %d: colour %06X, expected %06X" % (name, code, c, colour))
    for code in range(97, 123):
        a, b = objs[code], objs[code - 32]
        if a and b and a.segments != b.segments:
            faults.append("%s: %s does not repeat the shape of %s" % (name, chr(code), chr(code - 32)))
    return objs


def check_pictures(folder, faults):
    name = "pictures.obj2d"
    with open(os.path.join(folder, name), "rb") as f:
        text = f.read()
    objs = parse_objects(text)
    if len(objs) != 87:
        faults.append("%s: expected 87 objects, got %d" % (name, len(objs)))
    for i, obj in enumerate(objs):
        if obj is None or not obj.segments:
            faults.append("%s: picture %d is empty" % (name, i))
            continue
        for (p1, p2) in obj.segments:
            for (x, y, c) in (p1, p2):
                if not (0 <= x <= 15 and 0 <= y <= 15):
                    faults.append("%s: picture %d (%s): point (%d, %d) outside 0..15" % (name, i, obj.name, x, y))
                if c != 0xFFFFFF:
                    faults.append("%s: picture %d: colour %06X" % (name, i, c))
    for line in text.split(b"\n"):
        if line.startswith(b"{") and not line.startswith(b"{ name "):
            faults.append("%s: block without a name on its opening line: %r" % (name, line))
    return objs


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(here), "src", "assets")
    faults = []
    images = {}
    for (name, magic, w, h) in IMAGES:
        images[name] = check_image(folder, name, magic, w, h, faults)
    # The mouse's hot spot is its top-left pixel, so that pixel must be drawn (black is the key).
    mouse = images.get("mouse.ppm")
    if mouse and mouse[3][:3] == b"\0\0\0":
        faults.append("mouse.ppm: the top-left hot spot pixel is transparent")
    # The space of the big scroller font and the codes after 127 are blank cells.
    font32 = images.get("scroll_font32.pbm")
    if font32:
        raster = font32[3]
        for code in [32] + list(range(128, 144)):
            x0, y0 = (code % 16) * 32, (code // 16) * 32
            if any(raster[(y0 + y) * 64 + x0 // 8 + i] for y in range(32) for i in range(4)):
                faults.append("scroll_font32.pbm: cell %d is not blank" % code)
    check_font(folder, "font16.obj2d", 16, 0xFFFFFF, faults)
    check_font(folder, "font8.obj2d", 8, 0xAACCEE, faults)
    check_pictures(folder, faults)
    for f in faults:
        print(f)
    print("%d fault(s)" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
