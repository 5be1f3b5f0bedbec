#!/usr/bin/env bash
# The native Windows program under Wine inside Xvfb, used as a person would. The executable imports
# only system DLLs and carries the icon and version resources. Its command line: --help, --version
# and a bad option (statuses 0, 0, 2, the text on the console), a scale too large for the screen.
# The window: 256 x 256 and centred; paced by the display (still the first scene 8 s after it
# appears); a paused screenshot equals a headless presentation; letter keys pause and resume; the
# sprite sits at the pointer; resized while paused it shows the last frame at the largest
# whole-number scale on black; the pointer maps to the frame at 2x; F11 and Alt+Enter switch
# borderless fullscreen (3x on the 1024 x 768 screen) and back; ESC ends with status 0. Started
# with --scale 2 --fullscreen --no-vsync it covers the screen, is past the first scene after 8 s,
# leaves fullscreen for the 512 x 512 window, and closing it ends it with status 0. At 192 dots per
# inch the window is 512 x 512 pixels with the frame at 2x. A lone Alt or F10 press does not freeze
# the show.
# Waits are for what the screen shows, not fixed times; only the pacing checks look at the clock.
# Usage: wine.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) when Wine, the desktop tools or any way
# to get the Windows executable are missing, or when Wine cannot start at all.
# VOXA_WINDOWS_EXE names an executable to test instead of building one; VOXA_KEEP_SHOTS names a
# folder that receives a failing screenshot.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
for tool in wine wineboot wineserver xvfb-run Xvfb xdotool xwininfo import python3 script \
    x86_64-w64-mingw32-objdump x86_64-w64-mingw32-windres; do
    command -v "$tool" >/dev/null ||
        skip "$tool is not installed (Debian packages: wine wine64 xvfb xdotool x11-utils imagemagick binutils-mingw-w64-x86-64)"
done
close_tool=$(ls "$src"/../shared/tools/x11-close-window.py 2>/dev/null || true)
[ -n "$close_tool" ] || close_tool="$src/tests/e2e/x11_close.py"
work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT

# The executable: an explicit one, the cross-build tree of tools/build-windows.sh brought up to
# date, or a fresh cross-build inside this build tree.
if [ -n "${VOXA_WINDOWS_EXE:-}" ]; then
    exe=$VOXA_WINDOWS_EXE
elif [ -f "$src/build-win/CMakeCache.txt" ]; then
    cmake --build "$src/build-win" -j2 > "$work/cross.log" 2>&1 || { cat "$work/cross.log"; fail "cross-build"; }
    exe=$src/build-win/voxa7100.exe
elif command -v x86_64-w64-mingw32-g++ >/dev/null; then
    { cmake -S "$src" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release &&
      cmake --build "$build/win" -j2; } > "$work/cross.log" 2>&1 || { cat "$work/cross.log"; fail "cross-build"; }
    exe=$build/win/voxa7100.exe
else
    skip "no Windows executable and no MinGW-w64 compiler (run tools/build-windows.sh)"
fi
[ -f "$exe" ] || fail "$exe was not built"
version=$(sed -n 's/^project(VOXA7100 VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || fail "no project version in CMakeLists.txt"

# Imports: only DLLs every Windows has; the newer ones (dwmapi, shcore) are looked up at run time.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
for dll in $imports; do
    case $dll in kernel32.dll|user32.dll|gdi32.dll|winmm.dll|msvcrt.dll) ;; *) fail "imports $dll ($imports)";; esac
done
echo "imports: $imports"
# Resources: the icon group named like the window class, holding every image of the project's
# .ico byte for byte, and the version information of the CMake project.
x86_64-w64-mingw32-windres -i "$exe" -O rc > "$work/resources.rc" 2>&1 || fail "windres cannot read the resources"
python3 - "$exe" "$src/src/app/icons/voxa7100.ico" "$work/resources.rc" "$version" <<'PY' || fail "resources"
import re, struct, sys
exe, ico, rc, version = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read(), open(sys.argv[3]).read(), sys.argv[4]
count = struct.unpack_from('<HHH', ico)[2]
images = [ico[o:o + n] for n, o in (struct.unpack_from('<II', ico, 6 + 16 * i + 8) for i in range(count))]
group = re.search(r'"VOXA7100" 14 /\* RT_GROUP_ICON \*/\s*BEGIN\s*0, 1, (\d+),', rc)
if not group or int(group.group(1)) != count:
    print('no icon group VOXA7100 of', count, 'images'); sys.exit(1)
missing = [i for i, image in enumerate(images) if exe.find(image) < 0]
if missing:
    print('icon images not in the executable:', missing); sys.exit(1)
numbers = ', '.join((version.split('.') + ['0'] * 4)[:4])
for want in ('FILEVERSION ' + numbers, 'VALUE "FileVersion", "%s"' % version, 'VALUE "ProductVersion", "%s"' % version):
    if want not in rc:
        print('version resource lacks', want); sys.exit(1)
print('resources: icon group of %d images, version %s' % (count, version))
PY

# The headless platform's frames, one hash each, with the pointer outside the window.
[ -x "$build/voxa7100-record" ] || fail "no recorder in $build"
"$build/voxa7100-record" --frames 6000 --pointer -400,-300 --hash-each > "$work/headless.txt" || fail "recorder"

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

cat > "$work/inner.sh" <<INNER
set -u
. "$src/tests/e2e/lib.bash"
first_scene=129   # presentations 0-96 are start-up pictures, 97-128 the fade before the first scene
second_scene=1129
headless="$work/headless.txt"
# Checks what window \$1 shows (frame.py with the options after \$1). Without a window manager,
# Wine's X window is the client area alone (decorations are left to the absent manager).
view() { geometry "\$1"; shift; frame "\$X,\$Y,\${WIDTH}x\$HEIGHT" "\$@"; }
# Seconds since \$1 (a date +%s.%N).
since() { awk -v t="\$1" -v now="\$(date +%s.%N)" 'BEGIN { printf "%.1f", now - t }'; }

# A new prefix takes a while the first time; without it Wine cannot run anything.
start=\$(date +%s)
timeout 120 wineboot -i > "$work/wineboot.log" 2>&1
status=\$?
wineserver -w
[ \$status = 0 ] || { tail -n 20 "$work/wineboot.log"; echo "SKIP: Wine cannot start here (wineboot status \$status)"; exit 77; }
echo "wine prefix ready in \$(( \$(date +%s) - start )) s"

# 1. The command line. --version in a terminal (a pty): the text reaches the console.
script -qec "wine '$exe' --version" /dev/null > "$work/version.txt" 2>&1
status=\$?
[ \$status = 0 ] && grep -q "voxa7100 $version" "$work/version.txt" || { cat "$work/version.txt"; fail "--version: status \$status"; }
wine "$exe" --help > "$work/help.txt" 2> "$work/help.err"
status=\$?
[ \$status = 0 ] && grep -q '^usage: voxa7100' "$work/help.txt" && grep -q 'F11, Alt+Enter' "$work/help.txt" &&
    grep -q 'P             pause / resume' "$work/help.txt" || { cat "$work/help.txt"; fail "--help: status \$status"; }
wine "$exe" --bogus > "$work/bad.out" 2> "$work/bad.err"
status=\$?
[ \$status = 2 ] && [ ! -s "$work/bad.out" ] && grep -q "unknown argument '--bogus'" "$work/bad.err" &&
    grep -q '^usage: voxa7100' "$work/bad.err" || { cat "$work/bad.err"; fail "a bad option: status \$status"; }
wine "$exe" --scale 3 > "$work/big.out" 2> "$work/big.err"
status=\$?
[ \$status = 2 ] && grep -q 'scale 3 does not fit the screen' "$work/big.err" || { cat "$work/big.err"; fail "--scale 3 on 1024x768: status \$status"; }
echo "command line: --version, --help 0; a bad option 2; --scale 3 on 1024x768 refused with 2: \$(head -n 1 "$work/big.err")"

# 2. The default window: 256 x 256, centred, paced by the display.
xdotool mousemove 0 0
wine "$exe" --verbose > "$work/run1.log" 2>&1 &
pid=\$!
w=\$(find_window 600) || { kill \$pid; fail "no window titled VOXA7100"; }
appeared=\$(date +%s.%N)
geometry "\$w"
[ "\$WIDTH" = 256 ] && [ "\$HEIGHT" = 256 ] || fail "client area is \${WIDTH}x\${HEIGHT}, expected 256x256"
# The whole window, caption included, is centred: the client sits at x 384 and a little below y 256.
[ "\$X" = 384 ] && [ "\$Y" -ge 256 ] && [ "\$Y" -le 300 ] || fail "client area at \$X,\$Y, expected 384,256..300"
echo "client area 256x256 at \$X,\$Y"
n=\$(view "\$w" --hashes "\$headless" --from \$first_scene --wait 30) || fail "the first scene did not show within 30 s: \$n"
echo "first scene showing \$(since \$appeared) s after the window appeared (presentation \$n)"
grep -q 'pacing: ' "$work/run1.log" || fail "--verbose names no pacing"
echo "--verbose: \$(grep 'pacing: ' "$work/run1.log")"
# Paced by the display, the unpaced first scene's 1000 frames last about 17 s at 60 Hz.
sleep "\$(awk -v s="\$(since \$appeared)" 'BEGIN { print (s < 8 ? 8 - s : 0) }')"
n=\$(view "\$w" --hashes "\$headless") || fail "no frame of the show: \$n"
[ "\$n" -lt \$second_scene ] || fail "\$(since \$appeared) s after the window appeared it shows presentation \$n, past the first scene"
echo "\$(since \$appeared) s after the window appeared: presentation \$n, still the first scene"
# p pauses: the picture stays, and it is a frame of the show as the headless platform presents it.
xdotool key --window "\$w" p
n=\$(view "\$w" --hashes "\$headless" --still --save "$work/paused1.rgb") || fail "paused with key p: \$n"
echo "paused on presentation \$n"
# The pointer moved while paused; p resumes; paused again, the sprite's top-left corner is at the pointer.
xdotool mousemove --window "\$w" 100 120
xdotool key --window "\$w" p
why=\$(view "\$w" --differs "$work/paused1.rgb") || fail "resumed with key p: \$why"
xdotool key --window "\$w" p
why=\$(view "\$w" --still --sprite "$src/src/assets/mouse.ppm" 100,120 --save "$work/pointer1.rgb") ||
    fail "paused again, the sprite at the pointer: \$why"
# Resized while paused: the last frame at 2x with black borders (94 left, 95 right, 44 above, 44 below).
xdotool windowmove "\$w" 0 0
xdotool windowsize "\$w" 701 600
wait_geometry "\$w" "0 0 701 600"
why=\$(frame 0,0,701x600 --same "$work/pointer1.rgb") || fail "the resized window, the last frame at 2x on black: \$why"
# F11 and Alt+Enter, still paused: fullscreen at 3x on the whole screen and back to the window.
for keys in F11 alt+Return; do
    xdotool key --window "\$w" "\$keys"
    wait_geometry "\$w" "0 0 1024 768"
    why=\$(frame 0,0,1024x768 --same "$work/pointer1.rgb") || fail "\$keys, the last frame fullscreen: \$why"
    xdotool key --window "\$w" "\$keys"
    wait_geometry "\$w" "0 0 701 600"
    why=\$(frame 0,0,701x600 --same "$work/pointer1.rgb") || fail "\$keys again, the window restored: \$why"
done
echo "F11 and Alt+Enter: fullscreen 1024x768 and back to 701x600, the show still paused"
# At 2x the sprite lands under the pointer: client pixel 94 + 2 * 60 + 1 is frame pixel 60.
xdotool mousemove --window "\$w" \$((94 + 2 * 60 + 1)) \$((44 + 2 * 150 + 1))
xdotool key --window "\$w" p
why=\$(view "\$w" --differs "$work/pointer1.rgb") || fail "resumed after the fullscreen switches: \$why"
xdotool key --window "\$w" p
why=\$(view "\$w" --still --sprite "$src/src/assets/mouse.ppm" 60,150) || fail "paused at 2x, the sprite under the pointer: \$why"
xdotool key --window "\$w" Escape
wait \$pid
status=\$?
[ \$status = 0 ] || fail "ESC ended the program with status \$status"
echo "ESC: status 0"

# 3. Options: fullscreen at once, unpaced, twice the size when leaving fullscreen. The pointer
#    rests where the frame has no pixel (left of it), as in the headless presentations.
xdotool mousemove 0 0
wine "$exe" --scale 2 --fullscreen --no-vsync --verbose > "$work/run2.log" 2>&1 &
pid=\$!
w=\$(find_window 600) || { kill \$pid; fail "no window on the second run"; }
appeared=\$(date +%s.%N)
grep -q 'pacing: none' "$work/run2.log" || fail "--verbose does not say --no-vsync: \$(cat "$work/run2.log")"
sleep 8
geometry "\$w"
[ "\$WIDTH \$HEIGHT \$X \$Y" = "1024 768 0 0" ] || fail "--fullscreen: client area \${WIDTH}x\${HEIGHT} at \$X,\$Y"
n=\$(frame 0,0,1024x768 --hashes "\$headless") || fail "no frame of the show fullscreen: \$n"
[ "\$n" -ge \$second_scene ] || fail "with --no-vsync, \$(since \$appeared) s after the window appeared it shows presentation \$n, still the first scene"
echo "--fullscreen 1024x768, --no-vsync: \$(since \$appeared) s after the window appeared, presentation \$n (past the first scene)"
xdotool key --window "\$w" F11
for i in \$(seq 1 50); do geometry "\$w"; [ "\$WIDTH" = 512 ] && break; sleep 0.2; done
[ "\$WIDTH" = 512 ] && [ "\$HEIGHT" = 512 ] && [ "\$X" = 256 ] && [ "\$Y" -ge 128 ] && [ "\$Y" -le 172 ] ||
    fail "leaving fullscreen gave \${WIDTH}x\${HEIGHT} at \$X,\$Y, expected 512x512 at 256,128..172"
why=\$(view "\$w" --hashes "\$headless") || fail "the 512x512 window, the frame at 2x: \$why"
echo "F11 left fullscreen for --scale 2: 512x512 at \$X,\$Y"
python3 "$close_tool" "\$w" || fail "close request"
wait \$pid
status=\$?
[ \$status = 0 ] || fail "closing the window ended the program with status \$status"
echo "close: status 0"

# 4. On a 200 % screen (192 dots per inch) the window is still 256 x 256 logical units: 512 x 512
#    real pixels, with the frame at 2x.
wine reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d 192 /f > /dev/null 2>&1 || fail "reg add"
wine "$exe" > "$work/run3.log" 2>&1 &
pid=\$!
w=\$(find_window 600) || { kill \$pid; fail "no window at 192 dpi"; }
geometry "\$w"
[ "\$WIDTH \$HEIGHT \$X" = "512 512 256" ] || fail "at 192 dpi the client area is \${WIDTH}x\${HEIGHT} at \$X,\$Y, expected 512x512 at 256"
n=\$(view "\$w" --hashes "\$headless" --from \$first_scene --wait 30) || fail "at 192 dpi, the first scene at 2x: \$n"
echo "192 dpi: a 512x512 client area at \$X,\$Y showing presentation \$n at 2x"
xdotool key --window "\$w" Escape
wait \$pid
status=\$?
[ \$status = 0 ] || fail "ESC ended the program at 192 dpi with status \$status"
wine reg delete 'HKCU\\Control Panel\\Desktop' /v LogPixels /f > /dev/null 2>&1 || fail "reg delete"

# 5. A lone Alt or F10 must not start the keyboard menu loop, which would hold the show until the
#    next key. Wine never starts it for windows a window manager would decorate, so this run
#    has Wine draw the window's frame itself, as Windows does.
wine reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f > /dev/null 2>&1 || fail "reg add"
wine "$exe" > "$work/run4.log" 2>&1 &
pid=\$!
w=\$(find_window 600) || { kill \$pid; fail "no window Wine frames"; }
# The X window is now the whole window: the client area sits inside equal frames at the sides and below.
geometry "\$w"
client="\$(( X + (WIDTH - 256) / 2 )),\$(( Y + HEIGHT - 256 - (WIDTH - 256) / 2 )),256x256"
why=\$(frame "\$client" --hashes "\$headless" --from \$first_scene --wait 30) ||
    fail "the first scene in a window Wine frames: \$why"
for key in alt F10; do
    xdotool key --window "\$w" \$key
    # Time for the menu loop to take hold, then the picture must still change.
    sleep 0.5
    why=\$(frame "\$client" --save "$work/alt.rgb" --wait 0) || fail "a lone \$key press: \$why"
    why=\$(frame "\$client" --differs "$work/alt.rgb" --wait 2) || fail "the show froze after a lone \$key press: \$why"
done
echo "lone Alt and F10: the show goes on"
xdotool key --window "\$w" Escape
wait \$pid
status=\$?
[ \$status = 0 ] || fail "ESC ended the run in a window Wine frames with status \$status"
wineserver -k
INNER

timeout 400 xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$work/inner.sh"
status=$?
[ $status = 0 ] && { echo "PASS"; exit 0; }
[ $status = 77 ] && exit 77
for log in run1 run2 run3 run4; do [ -s "$work/$log.log" ] && { echo "--- $log:"; tail -n 20 "$work/$log.log"; }; done
exit 1
