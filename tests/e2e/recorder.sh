#!/usr/bin/env bash
# The recorder used as a person would: bad arguments, PNG frames (also scaled), bars and the
# recorded sound, and scripted pauses.
# Usage: recorder.sh BUILD_DIR SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
rec="$build/voxa7100-record"

# Bad arguments: a clear message and status 2.
for args in "" "--frames" "--frames 0" "--frames 10 --every 0" "--frames 10 --keys 5" "--frames 10 --keys 5:ab" \
            "--frames 10 --frame-ms -1" "--frames 10 --bogus" "--frames 10 --pointer 3" "--frames 10 --scale 0" \
            "--frames 10 --scale 9" "--frames 10 --scale 2x"; do
    # shellcheck disable=SC2086
    "$rec" $args > /dev/null 2> "$work/err"
    status=$?
    [ $status = 2 ] || fail "'$args' gave status $status"
    grep -q '^voxa7100-record: ' "$work/err" || fail "'$args' gave no clear message"
done
# An output folder that cannot be written: status 2 and nothing left behind.
mkdir "$work/locked" && chmod a-w "$work/locked"
if [ "$(id -u)" != 0 ]; then
    "$rec" --frames 3 --out "$work/locked" 2> "$work/err"
    [ $? = 2 ] || fail "unwritable folder accepted"
    [ -z "$(ls -A "$work/locked")" ] || fail "files left in the unwritable folder"
fi
: > "$work/plainfile"
"$rec" --frames 3 --out "$work/plainfile/x" 2> "$work/err"
[ $? = 2 ] || fail "an output folder under a file was accepted"

# PNG frames: every K-th presentation, six-digit numbers, readable by standard tools.
"$rec" --frames 120 --every 40 --out "$work/frames" --hash-each --golden "$work/golden1" > "$work/hash1" ||
    fail "recording frames"
[ "$(ls "$work/frames" | tr '\n' ' ')" = "frame-000000.png frame-000040.png frame-000080.png " ] ||
    fail "unexpected files: $(ls "$work/frames")"
# Scaled frames: 768 x 768, every 3 x 3 block one pixel of the 1x frame; hashes and golden record unchanged.
"$rec" --frames 120 --every 40 --out "$work/frames3" --scale 3 --hash-each --golden "$work/golden3" > "$work/hash3" ||
    fail "recording scaled frames"
cmp -s "$work/hash1" "$work/hash3" || fail "--scale 3 changed the hashes"
# The records' run lines differ only by the --out folder.
diff <(grep -v '^run ' "$work/golden1") <(grep -v '^run ' "$work/golden3") > /dev/null ||
    fail "--scale 3 changed the golden record"
grep -q '^run .*scale' "$work/golden3" && fail "--scale is in the golden record's run"
if command -v convert > /dev/null; then
    identify -format '%w %h\n' "$work/frames/frame-000040.png" | grep -q '^256 256$' || fail "frame is not 256x256"
    for n in 000000 000040 000080; do
        identify -format '%w %h\n' "$work/frames3/frame-$n.png" | grep -q '^768 768$' || fail "scaled frame $n is not 768x768"
        convert "$work/frames/frame-$n.png" -depth 8 rgb:"$work/one.rgb" && convert "$work/frames3/frame-$n.png" -depth 8 rgb:"$work/three.rgb" ||
            fail "cannot read frame $n"
        python3 - "$work/one.rgb" "$work/three.rgb" <<'PY' || fail "scaled frame $n does not reduce to the 1x frame"
import sys
one, three = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read()
assert len(one) == 256 * 256 * 3 and len(three) == 768 * 768 * 3
for y in range(768):
    for x in range(768):
        a, b = 3 * ((y // 3) * 256 + x // 3), 3 * (y * 768 + x)
        assert three[b:b + 3] == one[a:a + 3], 'pixel %d,%d' % (x, y)
PY
    done
fi

# Sound: a run with a per-frame cost through the first two scenes; every bar the player starts is
# written, and the recorded sound restarts at each scene start with that bar and loops within it.
"$rec" --frames 2000 --frame-ms 20 --wav "$work/show.wav" --bars "$work/bars" || fail "recording sound"
ls "$work/bars" | grep -q '^bar-000.wav$' || fail "no first bar"
if command -v sox > /dev/null; then
    sox --i "$work/show.wav" > /dev/null || fail "sox cannot read the recorded sound"
    sox --i "$work/bars/bar-000.wav" | grep -q 'Sample Rate *: 44100' || fail "sox cannot read the first bar"
fi
python3 - "$work/show.wav" "$work/bars" <<'PY' || fail "recorded sound does not follow the bars"
import os, sys, wave, struct
def values(path):
    w = wave.open(path, 'rb')
    assert w.getnchannels() == 1 and w.getsampwidth() == 2 and w.getframerate() == 44100, path
    data = w.readframes(w.getnframes())
    return list(struct.unpack('<%dh' % (len(data) // 2), data))
show = values(sys.argv[1])
bars = sorted(os.listdir(sys.argv[2]))
assert len(bars) >= 3, bars
for name in bars:
    assert os.path.getsize(os.path.join(sys.argv[2], name)) == 88264, name
# Bar 0 is replaced by the first scene's bar before any time passes; the later ones are heard.
loops = [values(os.path.join(sys.argv[2], b)) for b in bars[1:]]
key = lambda v: tuple(v[:64])
starts, at = [], 0
for bar in loops:
    head = key(bar)
    found = next((i for i in range(at, len(show) - 64) if tuple(show[i:i + 64]) == head), None)
    assert found is not None, 'bar not found after %d' % at
    starts.append(found)
    at = found + 1
starts.append(len(show))
for k, bar in enumerate(loops):
    span = starts[k + 1] - starts[k]
    for n in range(starts[k], starts[k + 1]):
        if show[n] != bar[(n - starts[k]) % 44100]:
            raise SystemExit('bar %d differs at %d' % (k + 1, n))
    print('bar %d: %d values, %.2f loops' % (k + 1, span, span / 44100))
PY
# A scripted pause: keys listed after it arrive while the show is paused.
"$rec" --frames 1600 --hash-each --keys 1500:p,1510:p > "$work/resume.txt" || fail "pause and resume: status $?"
[ "$(wc -l < "$work/resume.txt")" = 1600 ] || fail "pause and resume: $(wc -l < "$work/resume.txt") presentations, expected 1600"
"$rec" --frames 1600 --hash-each --keys 1500:p,1501:esc > "$work/esc.txt" || fail "ESC while paused: status $?"
# p acts after presentation 1501, ESC at once while paused: the 32-step fade follows.
[ "$(wc -l < "$work/esc.txt")" = $((1502 + 32)) ] || fail "ESC while paused: $(wc -l < "$work/esc.txt") presentations"
# Paused with nothing left to resume it: the run says so, ends with 1, and keeps what it wrote.
"$rec" --frames 1600 --hash-each --keys 1500:p --out "$work/stuck" --every 500 --wav "$work/stuck.wav" \
    > "$work/stuck.txt" 2> "$work/stuck.err"
status=$?
[ $status = 1 ] || fail "paused for ever: status $status, expected 1"
grep -q 'paused and no key is left to resume it' "$work/stuck.err" || fail "paused for ever: $(cat "$work/stuck.err")"
[ "$(wc -l < "$work/stuck.txt")" = 1502 ] || fail "paused for ever: $(wc -l < "$work/stuck.txt") presentations, expected 1502"
[ "$(ls "$work/stuck" | tr '\n' ' ')" = "frame-000000.png frame-000500.png frame-001000.png frame-001500.png " ] ||
    fail "paused for ever: frames written $(ls "$work/stuck")"
python3 -c "import wave, sys; w = wave.open(sys.argv[1]); assert w.getnframes() > 0" "$work/stuck.wav" ||
    fail "paused for ever: the sound so far was not written"
echo "PASS"
