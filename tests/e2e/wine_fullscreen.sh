#!/usr/bin/env bash
# The native Windows program's options under Wine inside Xvfb: started with --scale 2 --fullscreen
# --no-vsync it covers the screen, keeps the pace of 60 presentations a second (the first scene on
# screen 8 s and 14 s after the window appears, gone by 24 s), leaves fullscreen for the
# 512 x 512 window, and closing it ends it with status 0.
# Waits are for what the screen shows, not fixed times; only the pacing check looks at the clock.
# Usage: wine_fullscreen.sh BUILD_DIR SOURCE_DIR, after wine_prefix.sh (CTest runs it first). Exit 77
# (skipped) when Wine or the desktop tools are missing, or when wine_prefix.sh made no prefix.
# VOXA_WINDOWS_EXE names an executable to test instead of building one; VOXA_KEEP_SHOTS names a
# folder that receives a failing screenshot.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
wine_screen_start "$@"

on_screen 260 <<'INNER' || { show_logs run2; exit 1; }
# Options: fullscreen at once, unpaced, twice the size when leaving fullscreen. The pointer rests
# where the frame has no pixel (left of it), as in the headless presentations.
xdotool mousemove 0 0
wine "$exe" --scale 2 --fullscreen --no-vsync --verbose > "$work/run2.log" 2>&1 &
pid=$!
w=$(find_window 600) || { kill $pid; fail "no window with --scale 2 --fullscreen"; }
appeared=$(date +%s.%N)
# With --no-vsync the hold alone keeps the pace, fullscreen as in a window.
first_scene_pace "$w" "$appeared" "--fullscreen --no-vsync"
# (The line may follow the window by a moment.)
grep -q 'pacing: held to 60 presentations a second, no vsync (--no-vsync' "$work/run2.log" ||
    fail "--verbose does not say --no-vsync: $(cat "$work/run2.log")"
geometry "$w"
[ "$WIDTH $HEIGHT $X $Y" = "1024 768 0 0" ] || fail "--fullscreen: client area ${WIDTH}x${HEIGHT} at $X,$Y"
xdotool key --window "$w" F11
for i in $(seq 1 50); do geometry "$w"; [ "$WIDTH" = 512 ] && break; sleep 0.2; done
[ "$WIDTH" = 512 ] && [ "$HEIGHT" = 512 ] && [ "$X" = 256 ] && [ "$Y" -ge 128 ] && [ "$Y" -le 172 ] ||
    fail "leaving fullscreen gave ${WIDTH}x${HEIGHT} at $X,$Y, expected 512x512 at 256,128..172"
why=$(view "$w" --hashes "$headless") || fail "the 512x512 window, the frame at 2x: $why"
echo "F11 left fullscreen for --scale 2: 512x512 at $X,$Y"
close_window "$w" || fail "close request"
wait $pid
status=$?
[ $status = 0 ] || fail "closing the window ended the program with status $status"
echo "close: status 0"
wineserver -k
INNER
echo "PASS"
