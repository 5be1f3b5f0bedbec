#!/usr/bin/env python3
"""What a real program's window shows, checked from screenshots of the screen.

AREA (X,Y,WxH of the root window) must show the 256 x 256 frame by the viewport rule: at the largest
whole-number scale that fits (at least 1), centred with an odd leftover pixel on the right and below,
every frame pixel a uniform scale x scale block, black all around. Shoots again until that and the
options hold or --wait seconds are over; then prints the presentation's number (with --hashes), and
the scale and borders on standard error. Else prints why the last screenshot failed and exits 1; the
environment variable VOXA_KEEP_SHOTS names a folder that then receives that screenshot.
"""
import argparse
import os
import re
import subprocess
import sys
import time

SIZE = 256


class Miss(Exception):
    """Why a screenshot fails the check."""


def shoot(x, y, w, h):
    return subprocess.run(['import', '-window', 'root', '-crop', '%dx%d+%d+%d' % (w, h, x, y), '+repage',
                           '-depth', '8', 'rgb:-'], stdout=subprocess.PIPE, check=True).stdout


def fit(w, h):
    """The viewport rule: scale, left and top (floor division puts the odd pixel right and below)."""
    s = max(1, min(w // SIZE, h // SIZE))
    return s, (w - SIZE * s) // 2, (h - SIZE * s) // 2


def reduce(data, w, h):
    """The frame (raw RGB) that a w x h screenshot shows by the viewport rule."""
    s, left, top = fit(w, h)
    span = 3 * SIZE * s
    if len(data) != w * h * 3:
        raise Miss('the screenshot has %d bytes, not %d' % (len(data), w * h * 3))
    if left < 0 or top < 0:
        raise Miss('the area is smaller than the frame')
    frame = bytearray()
    for y in range(h):
        row = data[y * w * 3:(y + 1) * w * 3]
        part = row[left * 3:left * 3 + span] if top <= y < top + SIZE * s else b''
        border = row[:left * 3] + row[left * 3 + span:] if part else row
        if border.count(0) != len(border):
            raise Miss('border %s row %d is not black' % ('beside' if part else 'at', y))
        if not part:
            continue
        if (y - top) % s == 0:
            blocks = [part[i:i + 3 * s] for i in range(0, span, 3 * s)]
            bad = [i for i, b in enumerate(blocks) if b != b[:3] * s]
            if bad:
                raise Miss('frame pixel %d,%d is not a uniform %dx%d block' % (bad[0], (y - top) // s, s, s))
            frame += b''.join(b[:3] for b in blocks)
            band = part
        elif part != band:
            raise Miss('frame row %d is not the same on its %d screen rows' % ((y - top) // s, s))
    return bytes(frame)


def fnv(frame):
    h = 1469598103934665603
    for i in range(0, len(frame), 3):
        h = ((h ^ (frame[i] << 16 | frame[i + 1] << 8 | frame[i + 2])) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return '%016x' % h


def sprite_misses(frame, sprite, fx, fy):
    """How many of the sprite's pixels (black is transparent) differ from the frame's at fx, fy."""
    w, h, pixels = sprite
    bad = 0
    for y in range(min(h, SIZE - fy)):
        for x in range(min(w, SIZE - fx)):
            s, o = pixels[3 * (x + y * w):3 * (x + y * w) + 3], 3 * (fx + x + (fy + y) * SIZE)
            bad += s != b'\0\0\0' and frame[o:o + 3] != s
    return bad


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument('area', metavar='AREA', help='X,Y,WxH of the root window')
    p.add_argument('--hashes', help='the frame is a headless presentation, a line of `voxa7100-record --hash-each`')
    p.add_argument('--number', type=int, metavar='N', help='the frame is presentation N')
    p.add_argument('--from', dest='first', type=int, metavar='N', help='the frame is first presented at N or later')
    p.add_argument('--stretch', nargs=2, metavar=('NAME', 'GOLDEN'),
                   help="the frame is in a stretch of the golden record whose name starts with NAME")
    p.add_argument('--same', metavar='FRAME', help='the frame is the one --save wrote to FRAME')
    p.add_argument('--differs', metavar='FRAME', help='the frame is not the one in FRAME')
    p.add_argument('--sprite', nargs=2, metavar=('PPM', 'FX,FY'),
                   help="the mouse sprite's top-left corner sits at frame pixel FX,FY (its black is transparent)")
    p.add_argument('--still', action='store_true', help='first wait for two equal screenshots')
    p.add_argument('--save', metavar='FRAME', help='write the frame (raw RGB) to FRAME')
    p.add_argument('--wait', type=float, default=10, metavar='S', help='seconds to try (default 10)')
    a = p.parse_args()
    area = re.fullmatch(r'(-?\d+),(-?\d+),(\d+)x(\d+)', a.area)
    if not area:
        p.error('AREA %s is not X,Y,WxH' % a.area)
    x, y, w, h = map(int, area.groups())

    known, wanted = {}, []
    if a.hashes:
        for line in open(a.hashes):
            n, digest = line.split()
            known.setdefault(digest, []).append(int(n))
    if a.number is not None:
        wanted.append(('presentation %d' % a.number, lambda n: n == a.number))
    if a.stretch:
        fields = [line.split(None, 4) for line in open(a.stretch[1])]
        ranges = [(int(f[1]), int(f[1]) + int(f[2])) for f in fields if f[0] == 'stretch' and f[4].startswith(a.stretch[0])]
        if not ranges:
            p.error('%s has no stretch named %s' % (a.stretch[1], a.stretch[0]))
        wanted.append(('one in the stretches "%s" %s' % (a.stretch[0], ranges), lambda n: any(lo <= n < hi for lo, hi in ranges)))
    if (wanted or a.first is not None) and not a.hashes:
        p.error('--number, --from and --stretch need --hashes')
    if a.sprite:
        sep = rb'(?:\s|#[^\n]*\n)+'  # blanks and comments
        header = re.match(rb'P6' + (sep + rb'(\d+)') * 3 + rb'\s', open(a.sprite[0], 'rb').read())
        sprite = header and (int(header[1]), int(header[2]), header.string[header.end():])
        if not sprite or len(sprite[2]) < 3 * sprite[0] * sprite[1]:
            p.error('%s is no binary PPM' % a.sprite[0])
        fx, fy = map(int, a.sprite[1].split(','))

    deadline, last = time.monotonic() + a.wait, None
    while True:
        data = shoot(x, y, w, h)
        try:
            if a.still and data != last:
                last = data
                raise Miss('the picture is not still')
            frame = reduce(data, w, h)
            if a.same and frame != open(a.same, 'rb').read():
                raise Miss('the frame is not the one in ' + a.same)
            if a.differs and frame == open(a.differs, 'rb').read():
                raise Miss('the frame has not changed from the one in ' + a.differs)
            if a.sprite and (bad := sprite_misses(frame, sprite, fx, fy)):
                raise Miss('%d sprite pixels differ at frame pixel %d,%d' % (bad, fx, fy))
            if a.hashes:
                found = known.get(fnv(frame), [])
                shown = [n for n in found if all(ok(n) for _, ok in wanted)]
                if not found:
                    raise Miss('the frame is no headless presentation')
                if a.first is not None and found[0] < a.first:
                    raise Miss('the frame is presentation %s, first presented before %d' % (found[:5], a.first))
                if not shown:
                    raise Miss('the frame is presentation %s, expected %s' % (found[:5], ' and '.join(t for t, _ in wanted)))
            if a.save:
                open(a.save, 'wb').write(frame)
            if a.hashes:
                print(shown[0])
            s, left, top = fit(w, h)
            print('%s: the frame at %dx, borders %d left, %d right, %d above, %d below' %
                  (a.area, s, left, w - left - SIZE * s, top, h - top - SIZE * s), file=sys.stderr)
            return 0
        except Miss as e:
            why = str(e)
        if time.monotonic() > deadline:
            break
        time.sleep(0.2)
    print('%s (area %s: %dx at %d,%d)' % ((why, a.area) + fit(w, h)))
    if os.environ.get('VOXA_KEEP_SHOTS'):
        subprocess.run(['convert', '-size', '%dx%d' % (w, h), '-depth', '8', 'rgb:-',
                        os.path.join(os.environ['VOXA_KEEP_SHOTS'], 'failed-%dx%d.png' % (w, h))], input=data)
    return 1


if __name__ == '__main__':
    sys.exit(main())
