#!/usr/bin/env bash
# The native Windows program under Wine inside Xvfb, used as a person would: find the window,
# check its client area and place, compare a paused screenshot with what the headless platform
# presents, check that letter keys act (pause and resume) and that the pointer sprite sits at the
# pointer, press ESC, then close the window; both must end with status 0.
# Usage: wine.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) when Wine, the desktop tools or any way
# to get the Windows executable are missing, or when Wine cannot start at all.
# VOXA_WINDOWS_EXE names an executable to test instead of building one; VOXA_KEEP_SHOTS names a
# folder that receives the screenshots.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
skip() { echo "SKIP: $*"; exit 77; }
for tool in wine wineboot wineserver xvfb-run Xvfb xdotool import convert python3; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (Debian packages: wine wine64 xvfb xdotool imagemagick)"
done
close_tool=$(ls "$src"/../shared/tools/x11-close-window.py 2>/dev/null || true)
[ -n "$close_tool" ] || close_tool="$src/tests/e2e/x11_close.py"
work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1; [ -n "${VOXA_KEEP_SHOTS:-}" ] && cp "$work"/*.png "$VOXA_KEEP_SHOTS"/; rm -rf "$work"' EXIT

# The executable: an explicit one, the cross-build tree of tools/build-windows.sh brought up to
# date, or a fresh cross-build inside this build tree.
if [ -n "${VOXA_WINDOWS_EXE:-}" ]; then
    exe=$VOXA_WINDOWS_EXE
elif [ -f "$src/build-win/CMakeCache.txt" ]; then
    cmake --build "$src/build-win" -j2 > "$work/cross.log" 2>&1 || { cat "$work/cross.log"; echo "FAIL: cross-build"; exit 1; }
    exe=$src/build-win/voxa7100.exe
elif command -v x86_64-w64-mingw32-g++ >/dev/null; then
    { cmake -S "$src" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release &&
      cmake --build "$build/win" -j2; } > "$work/cross.log" 2>&1 || { cat "$work/cross.log"; echo "FAIL: cross-build"; exit 1; }
    exe=$build/win/voxa7100.exe
else
    skip "no Windows executable and no MinGW-w64 compiler (run tools/build-windows.sh)"
fi
[ -f "$exe" ] || { echo "FAIL: $exe was not built"; exit 1; }

# The headless platform's frames, one hash each, with the pointer outside the window.
record=""
if [ -x "$build/voxa7100-record" ]; then
    "$build/voxa7100-record" --frames 6000 --pointer -400,-300 --hash-each > "$work/headless.txt" || {
        echo "FAIL: recorder"; exit 1; }
    record=yes
fi

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

cat > "$work/inner.sh" <<INNER
set -u
. "$src/tests/e2e/lib.bash"
# A screenshot of the client area as raw RGB bytes.
shoot() {
    import -window root -crop 256x256+\$X+\$Y +repage "$work/\$1.png" && convert "$work/\$1.png" -depth 8 rgb:"$work/\$1.rgb"
}

# A new prefix takes a while the first time; without it Wine cannot run anything.
start=\$(date +%s)
timeout 120 wineboot -i > "$work/wineboot.log" 2>&1
status=\$?
wineserver -w
[ \$status = 0 ] || { tail -n 20 "$work/wineboot.log"; echo "SKIP: Wine cannot start here (wineboot status \$status)"; exit 77; }
echo "wine prefix ready in \$(( \$(date +%s) - start )) s"

# 1. The window: the client area is 256 x 256 and centred; a paused frame matches a headless
#    presentation; letter keys pause and resume; the sprite follows the pointer; ESC ends with 0.
xdotool mousemove 0 0
wine "$exe" > "$work/run1.log" 2>&1 &
pid=\$!
w=\$(find_window 600) || { kill \$pid; fail "no window titled VOXA7100"; }
# Without a window manager, Wine's X window is the client area alone (decorations are left to the
# absent manager), so its geometry is the client's.
eval "\$(xdotool getwindowgeometry --shell "\$w")"
[ "\$WIDTH" = 256 ] && [ "\$HEIGHT" = 256 ] || fail "client area is \${WIDTH}x\${HEIGHT}, expected 256x256"
# The whole window, caption included, is centred: the client sits at x 384 and a little below y 256.
[ "\$X" = 384 ] && [ "\$Y" -ge 256 ] && [ "\$Y" -le 300 ] || fail "client area at \$X,\$Y, expected 384,256..300"
echo "client area 256x256 at \$X,\$Y"
sleep 1.5
xdotool key --window "\$w" p
sleep 0.5
shoot paused1 || fail "screenshot"
sleep 0.4
shoot paused2 || fail "screenshot"
cmp -s "$work/paused1.rgb" "$work/paused2.rgb" || fail "the show did not pause on key p"
python3 - "$work/paused1.rgb" "$work/headless.txt" "$record" <<'PY' || fail "the screenshot is not a frame of the show"
import sys
data = open(sys.argv[1], 'rb').read()
colours = {data[i:i + 3] for i in range(0, len(data), 3)}
if len(colours) < 2:
    print('the window shows one flat colour', data[:3].hex()); sys.exit(1)
if sys.argv[3]:
    h = 1469598103934665603
    for i in range(0, len(data), 3):
        h = ((h ^ (data[i] << 16 | data[i + 1] << 8 | data[i + 2])) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    want = '%016x' % h
    found = [l.split()[0] for l in open(sys.argv[2]) if l.split()[1] == want]
    print('screenshot hash', want, 'matches presentation(s)', found[:5])
    sys.exit(0 if found else 1)
print('screenshot shows', len(colours), 'colours (no recorder to compare with)')
PY
# Resume, put the pointer inside, and pause again: the sprite's top-left corner is at the pointer.
xdotool key --window "\$w" p
xdotool mousemove --window "\$w" 100 120
sleep 0.5
xdotool key --window "\$w" p
sleep 0.5
shoot pointer || fail "screenshot"
cmp -s "$work/paused1.rgb" "$work/pointer.rgb" && fail "the show did not resume on key p"
python3 - "$work/pointer.rgb" "$src/src/assets/mouse.ppm" 100 120 <<'PY' || fail "the pointer sprite is not at the pointer"
import sys
shot = open(sys.argv[1], 'rb').read()
raw = open(sys.argv[2], 'rb').read()
fields, at = [], 0
while len(fields) < 4:  # magic, width, height, maximum, with comments skipped
    while raw[at:at + 1].isspace(): at += 1
    if raw[at:at + 1] == b'#':
        at = raw.index(b'\n', at); continue
    end = at
    while not raw[end:end + 1].isspace(): end += 1
    fields.append(raw[at:end]); at = end
at += 1
w, h = int(fields[1]), int(fields[2])
px, py = int(sys.argv[3]), int(sys.argv[4])
bad = 0
for y in range(h):
    for x in range(w):
        s = raw[at + 3 * (x + y * w):at + 3 * (x + y * w) + 3]
        if s == b'\0\0\0': continue  # black is transparent
        o = 3 * ((px + x) + (py + y) * 256)
        if shot[o:o + 3] != s: bad += 1
print('sprite pixels differing at the pointer:', bad)
sys.exit(0 if bad == 0 else 1)
PY
xdotool key --window "\$w" Escape
wait \$pid
status=\$?
[ \$status = 0 ] || fail "ESC ended the program with status \$status"
echo "ESC: status 0"

# 2. Closing the window as a user would ends it with status 0.
wine "$exe" > "$work/run2.log" 2>&1 &
pid=\$!
w=\$(find_window 600) || { kill \$pid; fail "no window on the second run"; }
sleep 0.5
python3 "$close_tool" "\$w" || fail "close request"
wait \$pid
status=\$?
[ \$status = 0 ] || fail "closing the window ended the program with status \$status"
echo "close: status 0"
wineserver -k
INNER

timeout 300 xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$work/inner.sh"
status=$?
[ $status = 0 ] && { echo "PASS"; exit 0; }
[ $status = 77 ] && exit 77
for log in run1 run2; do [ -s "$work/$log.log" ] && { echo "--- $log:"; tail -n 20 "$work/$log.log"; }; done
exit 1
