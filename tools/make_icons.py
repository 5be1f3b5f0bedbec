#!/usr/bin/env python3
"""Makes the program's icon from the embedded logo: the logo centred on a black square, as PNG
files in the sizes desktops use and as one Windows .ico file holding them.

Run from anywhere: python3 tools/make_icons.py [output folder]   (default: src/app/icons)
It reads src/assets/logo.ppm, so run it again whenever the logo changes. Only the Python standard
library is used.
"""

import os
import struct
import sys
import zlib

SIZES = [16, 24, 32, 48, 64, 128, 256]


def read_ppm(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, maximum; comments skipped
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    at += 1
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit("%s: expected a P6 picture with maximum 255" % path)
    width, height = int(fields[1]), int(fields[2])
    raster = data[at:at + width * height * 3]
    return width, height, [[tuple(raster[3 * (y * width + x):3 * (y * width + x) + 3]) for x in range(width)]
                           for y in range(height)]


def square(width, height, pixels):
    """The picture centred on a black square as wide as its longer side."""
    side = max(width, height)
    ox, oy = (side - width) // 2, (side - height) // 2
    out = [[(0, 0, 0)] * side for _ in range(side)]
    for y in range(height):
        for x in range(width):
            out[oy + y][ox + x] = pixels[y][x]
    return out


def resize(pixels, size):
    """Nearest-neighbour when growing by a whole number; area averaging when shrinking."""
    side = len(pixels)
    if size % side == 0:
        k = size // side
        return [[pixels[y // k][x // k] for x in range(size)] for y in range(size)]
    out = []
    for ty in range(size):
        row = []
        y0, y1 = ty * side / size, (ty + 1) * side / size
        for tx in range(size):
            x0, x1 = tx * side / size, (tx + 1) * side / size
            acc, area = [0.0, 0.0, 0.0], 0.0
            for sy in range(int(y0), min(side, int(y1) + 1)):
                wy = min(y1, sy + 1) - max(y0, sy)
                if wy <= 0:
                    continue
                for sx in range(int(x0), min(side, int(x1) + 1)):
                    wx = min(x1, sx + 1) - max(x0, sx)
                    if wx <= 0:
                        continue
                    for c in range(3):
                        acc[c] += pixels[sy][sx][c] * wx * wy
                    area += wx * wy
            row.append(tuple(int(round(v / area)) for v in acc))
        out.append(row)
    return out


def png(pixels):
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bmp_entry(pixels):
    """An icon image as older Windows reads it: a 32-bit bottom-up bitmap and its AND mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((p[2], p[1], p[0], 255)) for row in reversed(pixels) for p in row)
    mask_row = ((size + 31) // 32) * 4
    return header + colour + b"\0" * (mask_row * size)


def ico(images):
    """A .ico holding each size: bitmaps up to 128, PNG for 256 (as Windows expects)."""
    entries = [(size, bmp_entry(p) if size < 256 else png(p)) for size, p in images]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in entries)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "app", "icons")
    os.makedirs(out, exist_ok=True)
    base = square(*read_ppm(os.path.join(root, "src", "assets", "logo.ppm")))
    images = [(size, resize(base, size)) for size in SIZES]
    for size, pixels in images:
        with open(os.path.join(out, "voxa7100-%d.png" % size), "wb") as f:
            f.write(png(pixels))
    with open(os.path.join(out, "voxa7100.ico"), "wb") as f:
        f.write(ico(images))
    print("wrote the icon in %d sizes and voxa7100.ico to %s" % (len(SIZES), out))


if __name__ == "__main__":
    main()
