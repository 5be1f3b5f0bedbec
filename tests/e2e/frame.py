#!/usr/bin/env python3
"""What a real program's window shows, checked from screenshots of the screen.

usage: frame.py AREA SCALE LEFT,TOP HASHES [--still] [--number N] [--stretch NAME GOLDEN] [--wait S]

AREA is X,Y,WxH of the root window to shoot; the frame must stand in it at LEFT,TOP (relative to
the area) at the whole-number SCALE, every SCALE x SCALE block one pixel, with black all around, and
reduced to 256 x 256 it must be one of the headless platform's presentations (HASHES: the lines of
`voxa7100-record --hash-each`). --still first waits for two equal screenshots (a paused show);
--number N wants presentation N; --stretch wants a presentation of the golden record's stretches
whose names start with NAME. Shoots again until the check passes or S seconds (default 10) are
over; prints the presentation's number, or why the last screenshot failed (exit 1; the environment
variable VOXA_KEEP_SHOTS names a folder that then receives that screenshot).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time


def shoot(x, y, w, h, path):
    subprocess.run(['import', '-window', 'root', '-crop', '%dx%d+%d+%d' % (w, h, x, y), '+repage', path + '.png'],
                   check=True)
    subprocess.run(['convert', path + '.png', '-depth', '8', 'rgb:' + path], check=True)
    return open(path, 'rb').read()


def fnv(frame):
    h = 1469598103934665603
    for i in range(0, len(frame), 3):
        h = ((h ^ (frame[i] << 16 | frame[i + 1] << 8 | frame[i + 2])) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return '%016x' % h


def reduce(data, w, h, s, left, top):
    """The 256 x 256 frame in the shot, or an error text."""
    if len(data) != w * h * 3:
        return None, 'screenshot has %d bytes, expected %d' % (len(data), w * h * 3)
    if left < 0 or top < 0 or left + 256 * s > w or top + 256 * s > h:
        return None, 'the frame does not fit the area'
    stride = w * 3
    frame = bytearray()
    for y in range(h):
        row = data[y * stride:(y + 1) * stride]
        inside = top <= y < top + 256 * s
        border = row if not inside else row[:left * 3] + row[(left + 256 * s) * 3:]
        if border.count(0) != len(border):
            return None, 'border row %d is not black' % y
        if not inside:
            continue
        part = row[left * 3:(left + 256 * s) * 3]
        if (y - top) % s == 0:
            pixels = part[::3 * s], part[1::3 * s], part[2::3 * s]
            first = bytes(b for px in zip(*pixels) for b in px)
            if s > 1 and bytes(b for i in range(256) for _ in range(s) for b in first[i * 3:i * 3 + 3]) != part:
                return None, 'row %d is not made of %d-pixel runs' % (y, s)
            frame += first
            block = part
        elif part != block:
            return None, 'row %d differs from the row above it in its %d-row band' % (y, s)
    return bytes(frame), None


def main(argv):
    area, scale, at, hashes = argv[1], int(argv[2]), argv[3], argv[4]
    x, y, size = area.split(',')
    x, y = int(x), int(y)
    w, h = (int(v) for v in size.split('x'))
    left, top = (int(v) for v in at.split(','))
    still = '--still' in argv
    number = int(argv[argv.index('--number') + 1]) if '--number' in argv else None
    wait = float(argv[argv.index('--wait') + 1]) if '--wait' in argv else 10.0
    ranges = None
    if '--stretch' in argv:
        name, golden = argv[argv.index('--stretch') + 1], argv[argv.index('--stretch') + 2]
        ranges = []
        for line in open(golden):
            f = line.split(None, 4)
            if f[0] == 'stretch' and f[4].startswith(name):
                ranges.append((int(f[1]), int(f[1]) + int(f[2])))
    known = {}
    for line in open(hashes):
        n, digest = line.split()
        known.setdefault(digest, []).append(int(n))

    with tempfile.TemporaryDirectory() as work:
        shot = work + '/shot'
        deadline = time.monotonic() + wait
        last, why = None, 'no screenshot'
        while time.monotonic() < deadline:
            data = shoot(x, y, w, h, shot)
            if still and data != last:
                last, why = data, 'the picture is not still'
                time.sleep(0.2)
                continue
            frame, why = reduce(data, w, h, scale, left, top)
            if frame:
                found = known.get(fnv(frame), [])
                inside = [n for n in found if ranges is None or any(a <= n < b for a, b in ranges)]
                if not found:
                    why = 'the frame is no headless presentation'
                elif number is not None and number not in found:
                    why = 'the frame is presentation %s, expected %d' % (found[:5], number)
                elif not inside:
                    why = 'the frame is presentation %s, outside %s' % (found[:5], ranges)
                else:
                    print(number if number is not None else inside[0])
                    return 0
            time.sleep(0.1)
        print('%s (area %s, scale %d at %s)' % (why, area, scale, at))
        if os.environ.get('VOXA_KEEP_SHOTS') and os.path.exists(shot + '.png'):
            shutil.copy(shot + '.png', os.path.join(os.environ['VOXA_KEEP_SHOTS'], 'failed-%dx%d.png' % (w, h)))
        return 1


if __name__ == '__main__':
    sys.exit(main(sys.argv))
