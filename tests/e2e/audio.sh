#!/usr/bin/env bash
# The real program's sound: with SDL's disk audio driver it writes what it plays to a file, and the
# file holds the bar the recorder wrote for that scene start, looping from its first value. Without
# any usable audio driver the show runs silently and says so in one line.
# Usage: audio.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) when the desktop tools are missing.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
need xvfb-run Xvfb xdotool python3
need_built voxa7100

# The bars the player starts in the first two scenes, as the headless platform makes them.
"$build/voxa7100-record" --frames 1500 --bars "$work/bars" 2>/dev/null || { echo "FAIL: recorder"; exit 1; }

# Succeeds once a scene's bar has played from its first value on past the end of its loop.
cat > "$work/check.py" <<'PY'
import os, struct, sys
raw = open(sys.argv[1], 'rb').read()
raw = raw[:len(raw) // 2 * 2]
played = struct.unpack('<%dh' % (len(raw) // 2), raw)
best = None
for name in sorted(os.listdir(sys.argv[2]))[1:]:
    data = open(os.path.join(sys.argv[2], name), 'rb').read()[64:]
    bar = struct.unpack('<44100h', data)
    # Every place where the bar's first values stand (a bar may begin with silence).
    at = raw.find(data[:256])
    while at >= 0:
        if at % 2 == 0:
            i = n = at // 2
            while n < len(played) and played[n] == bar[(n - i) % 44100]:
                n += 1
            if best is None or n - i > best[1]:
                best = (name, n - i)
        at = raw.find(data[:256], at + 1)
print('played %.2f s' % (len(played) / 44100))
if best:
    print('%s plays for %d values (%.2f loops) from its first value' % (best[0], best[1], best[1] / 44100))
sys.exit(0 if best and best[1] > 44100 + 4410 else 1)
PY

on_screen <<'INNER' || exit 1
# 1. Disk audio: what is played goes to a file at real-time pace. The file is checked as it grows
# (the machine may be busy) until a bar has looped, then the show is stopped.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/played.raw" "$build/voxa7100" 2> "$work/disk.err" &
pid=$!
w=$(find_window) || fail "no window"
ok=0
for i in $(seq 1 40); do
    sleep 0.5
    python3 "$work/check.py" "$work/played.raw" "$work/bars" > "$work/check.out" 2>&1 && { ok=1; break; }
done
xdotool key --window "$w" Escape
wait $pid || fail "ESC ended the program with status $?"
cat "$work/check.out"
[ $ok = 1 ] || fail "the played sound is not a looping bar"

# 2. No audio device: the show runs silently and says so once.
SDL_AUDIODRIVER=none-such "$build/voxa7100" 2> "$work/none.err" &
pid=$!
w=$(find_window) || fail "no window without audio"
sleep 0.5
xdotool key --window "$w" Escape
wait $pid || fail "without audio ESC ended the program with status $?"
[ "$(grep -c 'no audio device' "$work/none.err")" = 1 ] || fail "expected one 'no audio device' line, got: $(cat "$work/none.err")"
echo "no audio: $(grep 'no audio device' "$work/none.err")"
INNER
echo "PASS"
