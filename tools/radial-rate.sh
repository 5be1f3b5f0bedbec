#!/usr/bin/env bash
# Measures how long the real program takes for the unpaced first scene under Xvfb, held to 60
# presentations a second with vsync (the default) and without (--no-vsync): the scene's music bar starts with the scene
# and is replaced when the next scene starts, so the span of that bar in what SDL's disk audio
# driver played is the scene's duration (its 32-step fade-out and 1000 frames). Each run ends once
# the second scene's bar is heard, however long the first scene takes.
# Usage: tools/radial-rate.sh [BUILD_DIR] [MODE...]; modes: no-vsync, paced (default: both), timer
# (a renderer that grants no vsync, SDL's software one: the hold alone).
set -eu
build=$(cd "${1:-build}" && pwd)
shift || true
modes=("$@")
[ ${#modes[@]} -gt 0 ] || modes=(no-vsync paced)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/voxa7100-record" --frames 1200 --bars "$work/bars" 2>/dev/null

# find.py RAW BAR: the value index where BAR's first 64 values stand in RAW, or nothing.
cat > "$work/find.py" <<'PY'
import sys
raw = open(sys.argv[1], 'rb').read()
head = open(sys.argv[2], 'rb').read()[64:64 + 128]
at = raw.find(head)
while at >= 0 and at % 2:
    at = raw.find(head, at + 1)
if at >= 0:
    print(at // 2)
PY

# One run under Xvfb: the program with the options in opts and the environment in env.
export build work env opts
cat > "$work/inner.sh" <<'INNER'
env $env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/played.raw" "$build/voxa7100" --verbose $opts 2> "$work/err.txt" &
pid=$!
for i in $(seq 1 200); do
    w=$(xdotool search --onlyvisible --name '^VOXA7100$' 2>/dev/null | head -n 1); [ -n "$w" ] && break; sleep 0.05
done
# Until the second scene's bar plays (at most two minutes).
for i in $(seq 1 600); do
    sleep 0.2
    [ -n "$(python3 "$work/find.py" "$work/played.raw" "$work/bars/bar-002.wav")" ] && break
done
xdotool key --window "$w" Escape
wait $pid
INNER

for mode in "${modes[@]}"; do
    case $mode in
    no-vsync) opts=--no-vsync; env= ;;
    paced) opts=; env= ;;
    timer) opts=; env=SDL_RENDER_DRIVER=software ;;
    *) echo "unknown mode $mode (no-vsync, paced, timer)" >&2; exit 2 ;;
    esac
    rm -f "$work/played.raw"
    xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$work/inner.sh"
    grep -h 'pacing' "$work/err.txt" || true
    python3 - "$work/played.raw" "$work/bars/bar-001.wav" "$mode" <<'PY'
import struct, sys
raw = open(sys.argv[1], 'rb').read()
played = struct.unpack('<%dh' % (len(raw) // 2), raw[:len(raw) // 2 * 2])
bar = struct.unpack('<44100h', open(sys.argv[2], 'rb').read()[64:])
start = next(i for i in range(len(played) - 64) if played[i:i + 64] == bar[:64])
n = start
while n < len(played) and played[n] == bar[(n - start) % 44100]:
    n += 1
seconds = (n - start) / 44100
print('%s: first scene %.3f s for 1032 presentations, about %.0f frames per second' % (sys.argv[3], seconds, 1032 / seconds))
PY
done
