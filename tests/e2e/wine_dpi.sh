#!/usr/bin/env bash
# The native Windows program on a 200 % screen under Wine inside Xvfb: at 192 dots per inch the
# window is 512 x 512 pixels with the frame at 2x.
# Waits are for what the screen shows, not fixed times.
# Usage: wine_dpi.sh BUILD_DIR SOURCE_DIR, after wine_prefix.sh (CTest runs it first). Exit 77
# (skipped) when Wine or the desktop tools are missing, or when wine_prefix.sh made no prefix.
# VOXA_WINDOWS_EXE names an executable to test instead of building one; VOXA_KEEP_SHOTS names a
# folder that receives a failing screenshot.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
wine_screen_start "$@"

on_screen 200 <<'INNER' || { show_logs run3; exit 1; }
# On a 200 % screen (192 dots per inch) the window is still 256 x 256 logical units: 512 x 512
# real pixels, with the frame at 2x.
# The prefix is shared with the other Wine tests: back to 96 dpi however this run ends.
undo_dpi() { wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f > /dev/null 2>&1; }
trap undo_dpi EXIT
# The pointer rests where the frame has no pixel (left of it), as in the headless presentations.
xdotool mousemove 0 0
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f > /dev/null 2>&1 || fail "reg add"
wine "$exe" > "$work/run3.log" 2>&1 &
pid=$!
w=$(find_window 600) || { kill $pid; fail "no window at 192 dpi"; }
geometry "$w"
[ "$WIDTH $HEIGHT $X" = "512 512 256" ] || fail "at 192 dpi the client area is ${WIDTH}x${HEIGHT} at $X,$Y, expected 512x512 at 256"
n=$(view "$w" --hashes "$headless" --from $first_scene --wait 30) || fail "at 192 dpi, the first scene at 2x: $n"
echo "192 dpi: a 512x512 client area at $X,$Y showing presentation $n at 2x"
xdotool key --window "$w" Escape
wait $pid
status=$?
[ $status = 0 ] || fail "ESC ended the program at 192 dpi with status $status"
undo_dpi || fail "reg delete"
trap - EXIT
wineserver -k
INNER
echo "PASS"
