#!/usr/bin/env bash
# Measures how fast the real program renders the unpaced first scene under Xvfb: the scene's music
# bar starts with the scene and is replaced when the next scene starts, so the span of that bar in
# what SDL's disk audio driver played is the scene's duration (its 32-step fade-out and 1000 frames).
# Usage: tools/radial-rate.sh [BUILD_DIR]
set -eu
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/voxa7100-record" --frames 200 --bars "$work/bars" 2>/dev/null
cat > "$work/inner.sh" <<INNER
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/played.raw" "$build/voxa7100" 2>/dev/null &
pid=\$!
for i in \$(seq 1 200); do
    w=\$(xdotool search --onlyvisible --name '^VOXA7100\$' 2>/dev/null | head -n 1); [ -n "\$w" ] && break; sleep 0.05
done
sleep 4
xdotool key --window "\$w" Escape
wait \$pid
INNER
xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$work/inner.sh"
python3 - "$work/played.raw" "$work/bars/bar-001.wav" <<'PY'
import struct, sys
raw = open(sys.argv[1], 'rb').read()
played = struct.unpack('<%dh' % (len(raw) // 2), raw[:len(raw) // 2 * 2])
bar = struct.unpack('<44100h', open(sys.argv[2], 'rb').read()[64:])
start = next(i for i in range(len(played) - 64) if played[i:i + 64] == bar[:64])
n = start
while n < len(played) and played[n] == bar[(n - start) % 44100]:
    n += 1
seconds = (n - start) / 44100
print('first scene: %.3f s for 1032 presentations, about %.0f frames per second' % (seconds, 1032 / seconds))
PY
