#!/usr/bin/env python3
"""Runs the show as a golden record says and compares what it presents and plays with the record.

Usage: check.py RECORD RUNNER [RUNNER ARGS...]
RUNNER is the recorder program (or a command that runs an equivalent, such as the WebAssembly
recorder under Node). The record's 'run' line gives the recorder's arguments; the run writes its
own record with --golden into a temporary file. On a mismatch this names each stretch that differs,
its first block of 50 presentations that differs, and a command that writes those frames as PNGs.
"""
import os
import shlex
import subprocess
import sys
import tempfile


def parse(path):
    record = {'run': '', 'frame-ms': '', 'stretches': [], 'bars': [], 'end': ''}
    with open(path) as f:
        for line in f:
            words = line.split()
            if not words:
                continue
            if words[0] == 'run':
                record['run'] = line[4:].strip()
            elif words[0] == 'frame-ms':
                record['frame-ms'] = words[1]
            elif words[0] == 'stretch':
                record['stretches'].append({'first': int(words[1]), 'length': int(words[2]), 'digest': words[3],
                                            'name': ' '.join(words[4:]), 'blocks': []})
            elif words[0] == 'block':
                record['stretches'][-1]['blocks'].append((int(words[1]), words[2]))
            elif words[0] == 'bar':
                record['bars'].append(words[2])
            elif words[0] == 'end':
                record['end'] = ' '.join(words[1:])
    return record


def describe(s):
    return "'%s' (presentations %d to %d)" % (s['name'], s['first'], s['first'] + s['length'] - 1)


def compare(want, got, runner):
    problems = []
    for i, w in enumerate(want['stretches']):
        if i >= len(got['stretches']):
            problems.append('stretch %s is missing: the run ended after %d stretches' % (describe(w), len(got['stretches'])))
            break
        g = got['stretches'][i]
        if (w['name'], w['first'], w['length']) != (g['name'], g['first'], g['length']):
            problems.append('stretch %d: expected %s, got %s' % (i, describe(w), describe(g)))
            break
        if w['digest'] == g['digest']:
            continue
        block = next((wb for wb, gb in zip(w['blocks'], g['blocks']) if wb != gb), w['blocks'][0])
        first = block[0]
        count = min(50, w['first'] + w['length'] - first)
        problems.append('stretch %s differs: expected digest %s, got %s; first differing block: presentations %d to %d\n'
                        '  look at them: %s %s --frames %d --out frames --every 1   (frame-%06d.png on)'
                        % (describe(w), w['digest'], g['digest'], first, first + count - 1, runner,
                           strip_frames(want['run']), first + count, first))
    if len(got['stretches']) > len(want['stretches']) and not problems:
        problems.append('the run has %d stretches, expected %d' % (len(got['stretches']), len(want['stretches'])))
    for i, (w, g) in enumerate(zip(want['bars'], got['bars'])):
        if w != g:
            problems.append('bar %d: expected digest %s, got %s' % (i, w, g))
            break
    if len(want['bars']) != len(got['bars']):
        problems.append('expected %d bars, got %d' % (len(want['bars']), len(got['bars'])))
    if want['end'] != got['end']:
        problems.append("end: expected '%s', got '%s'" % (want['end'], got['end']))
    if want['frame-ms'] != got['frame-ms']:
        problems.append('frame cost: expected %s ms, got %s ms' % (want['frame-ms'], got['frame-ms']))
    return problems


def strip_frames(run):
    words = shlex.split(run)
    out = []
    skip = False
    for w in words:
        if skip:
            skip = False
            continue
        if w == '--frames':
            skip = True
            continue
        out.append(w)
    return ' '.join(shlex.quote(w) for w in out)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    want = parse(sys.argv[1])
    runner = sys.argv[2:]
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, 'got.txt')
        command = runner + shlex.split(want['run']) + ['--golden', out]
        result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if not os.path.exists(out):
            print('FAIL: the run wrote no record (status %d)\n%s' % (result.returncode, result.stderr[-2000:]))
            return 1
        got = parse(out)
    problems = compare(want, got, ' '.join(shlex.quote(w) for w in runner))
    name = os.path.basename(sys.argv[1])
    if problems:
        print('FAIL: %s: the show differs from its golden record' % name)
        for p in problems:
            print('  ' + p)
        return 1
    print('%s: %d stretches, %d blocks, %d bars and the end (%s) as recorded'
          % (name, len(want['stretches']), sum(len(s['blocks']) for s in want['stretches']), len(want['bars']), want['end']))
    return 0


if __name__ == '__main__':
    sys.exit(main())
