#!/usr/bin/env bash
# The real program in a real window under Xvfb, used as a person would: find the window, check
# its place and size, pause it, compare a screenshot with what the headless platform presents,
# press ESC, close the window, and start it without a display.
# Usage: desktop.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) when the desktop tools are missing.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
for tool in xvfb-run Xvfb xdotool import convert python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x "$build/voxa7100" ] || { echo "SKIP: the desktop program was not built"; exit 77; }
close_tool=$(ls "$src"/../shared/tools/x11-close-window.py 2>/dev/null || true)
[ -n "$close_tool" ] || close_tool="$src/tests/e2e/x11_close.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The headless platform's frames, one hash each, with the pointer outside the window.
"$build/voxa7100-record" --frames 6000 --pointer -400,-300 --hash-each > "$work/headless.txt" || {
    echo "FAIL: recorder"; exit 1; }

cat > "$work/inner.sh" <<INNER
set -u
. "$src/tests/e2e/lib.bash"
export SDL_AUDIODRIVER=dummy

# 1. The window: title, centred, 256 x 256; a paused frame matches a headless presentation; ESC ends it with 0.
xdotool mousemove 0 0
"$build/voxa7100" 2> "$work/run1.err" &
pid=\$!
w=\$(find_window) || fail "no window titled VOXA7100"
eval "\$(xdotool getwindowgeometry --shell "\$w")"
[ "\$WIDTH" = 256 ] && [ "\$HEIGHT" = 256 ] || fail "client area is \${WIDTH}x\${HEIGHT}, expected 256x256"
[ "\$X" = 384 ] && [ "\$Y" = 256 ] || fail "window at \$X,\$Y, expected centred at 384,256"
sleep 1.5
xdotool key --window "\$w" p
sleep 0.5
import -window root -crop 256x256+\$X+\$Y +repage "$work/shot.png" || fail "screenshot"
convert "$work/shot.png" -depth 8 rgb:"$work/shot.rgb" || fail "convert"
python3 - "$work/shot.rgb" "$work/headless.txt" <<'PY' || fail "screenshot matches no headless presentation"
import sys
data = open(sys.argv[1], 'rb').read()
h = 1469598103934665603
for i in range(0, len(data), 3):
    h = ((h ^ (data[i] << 16 | data[i + 1] << 8 | data[i + 2])) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
want = '%016x' % h
found = [l.split()[0] for l in open(sys.argv[2]) if l.split()[1] == want]
print('screenshot hash', want, 'matches presentation(s)', found[:5])
sys.exit(0 if found else 1)
PY
xdotool key --window "\$w" Escape
wait \$pid
status=\$?
[ \$status = 0 ] || fail "ESC ended the program with status \$status"

# 2. Closing the window as a user would ends it with status 0.
"$build/voxa7100" 2> "$work/run2.err" &
pid=\$!
w=\$(find_window) || fail "no window on the second run"
sleep 0.5
python3 "$close_tool" "\$w" || fail "close request"
wait \$pid
status=\$?
[ \$status = 0 ] || fail "closing the window ended the program with status \$status"
# 3. Closed as soon as it appears, while it may still be starting up: it ends with status 0 once it
# takes events.
"$build/voxa7100" 2> "$work/run3.err" &
pid=\$!
w=\$(find_window) || fail "no window on the third run"
python3 "$close_tool" "\$w" || fail "close request"
wait \$pid
status=\$?
[ \$status = 0 ] || fail "closing the window at once ended the program with status \$status"
echo "desktop: window, screenshot, ESC, close and early close all passed"
INNER

xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$work/inner.sh" || exit 1

# 3. Without a display: one clear line on standard error and status 1.
env -u DISPLAY -u WAYLAND_DISPLAY "$build/voxa7100" > /dev/null 2> "$work/nodisplay.err"
status=$?
[ $status = 1 ] || { echo "FAIL: without a display the status was $status"; cat "$work/nodisplay.err"; exit 1; }
grep -q "no display available" "$work/nodisplay.err" || { echo "FAIL: message: $(cat "$work/nodisplay.err")"; exit 1; }
echo "no display: $(head -n 1 "$work/nodisplay.err")"
echo "PASS"
