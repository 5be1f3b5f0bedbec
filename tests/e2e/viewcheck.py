#!/usr/bin/env python3
"""What a window shows of the 256 x 256 frame, read from a screenshot of the whole screen as raw
8-bit RGB (`convert shot.png -depth 8 rgb:shot.rgb`). Used by the real-program tests.

  viewcheck.py frame SHOT SCREEN_W X Y W H OUT
      The client area at X,Y of W x H pixels shows one frame at the largest whole-number scale that
      fits (at least 1), centred with an odd leftover pixel on the right and below, every frame pixel
      a uniform scale x scale block, on black. OUT receives the frame (256 x 256 raw RGB).
  viewcheck.py index FRAME HASHES
      Prints the number of the first headless presentation equal to FRAME (HASHES: the recorder's
      --hash-each lines), or -1.
  viewcheck.py sprite FRAME SPRITE_PPM FX FY
      The mouse sprite's top-left corner sits at frame pixel FX,FY (its black pixels are transparent).
Exit status 1, with the reason, when a check fails.
"""
import sys

SIZE = 256


def fail(message):
    print(message)
    sys.exit(1)


def fit(w, h):
    """The viewport rule: scale, left and top offsets (floor division puts the odd pixel right and below)."""
    scale = max(1, min(w // SIZE, h // SIZE))
    return scale, (w - SIZE * scale) // 2, (h - SIZE * scale) // 2


def frame(shot_path, screen_w, x0, y0, w, h, out_path):
    shot = open(shot_path, 'rb').read()
    stride = 3 * screen_w
    if (x0 < 0 or y0 < 0 or x0 + w > screen_w or (y0 + h) * stride > len(shot)):
        fail('client area %dx%d+%d+%d is not inside the screenshot' % (w, h, x0, y0))
    scale, fx, fy = fit(w, h)
    if fx < 0 or fy < 0:
        fail('client area %dx%d is smaller than the frame' % (w, h))
    rows = [shot[(y0 + y) * stride + 3 * x0:(y0 + y) * stride + 3 * (x0 + w)] for y in range(h)]
    black = bytes(3)
    # Borders: the strips above and below, left and right of the scaled frame.
    for y in list(range(fy)) + list(range(fy + SIZE * scale, h)):
        if rows[y] != black * w:
            fail('border row %d is not black (scale %d, frame at %d,%d)' % (y, scale, fx, fy))
    for y in range(fy, fy + SIZE * scale):
        r = rows[y]
        if r[:3 * fx] != black * fx or r[3 * (fx + SIZE * scale):] != black * (w - fx - SIZE * scale):
            fail('border beside row %d is not black (scale %d, frame at %d,%d)' % (y, scale, fx, fy))
    # The frame: every scale x scale block one colour.
    out = bytearray()
    for py in range(SIZE):
        first = rows[fy + py * scale][3 * fx:3 * (fx + SIZE * scale)]
        for dy in range(1, scale):
            if rows[fy + py * scale + dy][3 * fx:3 * (fx + SIZE * scale)] != first:
                fail('frame row %d is not repeated %d times' % (py, scale))
        for px in range(SIZE):
            block = first[3 * px * scale:3 * (px + 1) * scale]
            if block != block[:3] * scale:
                fail('frame pixel %d,%d is not a uniform %dx%d block' % (px, py, scale, scale))
            out += block[:3]
    open(out_path, 'wb').write(out)
    print('%dx%d client: frame at %dx, borders %d left, %d right, %d above, %d below' %
          (w, h, scale, fx, w - fx - SIZE * scale, fy, h - fy - SIZE * scale))


def index(frame_path, hashes_path):
    data = open(frame_path, 'rb').read()
    h = 1469598103934665603
    for i in range(0, len(data), 3):
        h = ((h ^ (data[i] << 16 | data[i + 1] << 8 | data[i + 2])) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    want = '%016x' % h
    for line in open(hashes_path):
        number, value = line.split()
        if value == want:
            print(number)
            return
    print(-1)


def sprite(frame_path, sprite_path, px, py):
    shot = open(frame_path, 'rb').read()
    raw = open(sprite_path, 'rb').read()
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, maximum, with comments skipped
        while raw[at:at + 1].isspace():
            at += 1
        if raw[at:at + 1] == b'#':
            at = raw.index(b'\n', at)
            continue
        end = at
        while not raw[end:end + 1].isspace():
            end += 1
        fields.append(raw[at:end])
        at = end
    at += 1
    w, h = int(fields[1]), int(fields[2])
    bad = 0
    for y in range(h):
        for x in range(w):
            s = raw[at + 3 * (x + y * w):at + 3 * (x + y * w) + 3]
            if s == b'\0\0\0':
                continue  # black is transparent
            o = 3 * ((px + x) + (py + y) * SIZE)
            if shot[o:o + 3] != s:
                bad += 1
    print('sprite pixels differing at frame pixel %d,%d: %d' % (px, py, bad))
    sys.exit(0 if bad == 0 else 1)


if __name__ == '__main__':
    a = sys.argv[1:]
    if a[:1] == ['frame'] and len(a) == 8:
        frame(a[1], *map(int, a[2:7]), a[7])
    elif a[:1] == ['index'] and len(a) == 3:
        index(a[1], a[2])
    elif a[:1] == ['sprite'] and len(a) == 5:
        sprite(a[1], a[2], int(a[3]), int(a[4]))
    else:
        fail(__doc__)
