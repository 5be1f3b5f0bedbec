#!/usr/bin/env bash
# The native Windows program's window under Wine inside Xvfb, used as a person would: 256 x 256 and
# centred; held to 60 presentations a second (the first scene on screen 8 s and 14 s after it
# appears, gone by 24 s); a paused screenshot
# equals a headless presentation; letter keys pause and resume; the sprite sits at the pointer;
# resized while paused it shows the last frame at the largest whole-number scale on black; the
# pointer maps to the frame at 2x; F11 and Alt+Enter switch borderless fullscreen (3x on the
# 1024 x 768 screen) and back; ESC ends with status 0.
# Waits are for what the screen shows, not fixed times; only the pacing checks look at the clock.
# Usage: wine_window.sh BUILD_DIR SOURCE_DIR, after wine_prefix.sh (CTest runs it first). Exit 77
# (skipped) when Wine or the desktop tools are missing, or when wine_prefix.sh made no prefix.
# VOXA_WINDOWS_EXE names an executable to test instead of building one; VOXA_KEEP_SHOTS names a
# folder that receives a failing screenshot.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
wine_screen_start "$@"

on_screen 300 <<'INNER' || { show_logs run1; exit 1; }
# The default window: 256 x 256, centred, paced by the display.
xdotool mousemove 0 0
wine "$exe" --verbose > "$work/run1.log" 2>&1 &
pid=$!
w=$(find_window 600) || { kill $pid; fail "no window titled VOXA7100"; }
appeared=$(date +%s.%N)
geometry "$w"
[ "$WIDTH" = 256 ] && [ "$HEIGHT" = 256 ] || fail "client area is ${WIDTH}x${HEIGHT}, expected 256x256"
# The whole window, caption included, is centred: the client sits at x 384 and a little below y 256.
[ "$X" = 384 ] && [ "$Y" -ge 256 ] && [ "$Y" -le 300 ] || fail "client area at $X,$Y, expected 384,256..300"
echo "client area 256x256 at $X,$Y"
n=$(view "$w" --hashes "$headless" --from $first_scene --wait 30) || fail "the first scene did not show within 30 s: $n"
echo "first scene showing $(since $appeared) s after the window appeared (presentation $n)"
grep -q 'pacing: ' "$work/run1.log" || fail "--verbose names no pacing"
echo "--verbose: $(grep 'pacing: ' "$work/run1.log")"
# Held to 60 presentations a second, the unpaced first scene's 1000 frames last about 17 s.
first_scene_pace "$w" "$appeared" "held"
# p pauses: the picture stays, and it is a frame of the show as the headless platform presents it.
xdotool key --window "$w" p
n=$(view "$w" --hashes "$headless" --still --save "$work/paused1.rgb") || fail "paused with key p: $n"
echo "paused on presentation $n"
# The pointer moved while paused; p resumes; paused again, the sprite's top-left corner is at the pointer.
xdotool mousemove --window "$w" 100 120
xdotool key --window "$w" p
why=$(view "$w" --differs "$work/paused1.rgb") || fail "resumed with key p: $why"
xdotool key --window "$w" p
why=$(view "$w" --still --sprite "$src/src/assets/mouse.ppm" 100,120 --save "$work/pointer1.rgb") ||
    fail "paused again, the sprite at the pointer: $why"
# Resized while paused: the last frame at 2x with black borders (94 left, 95 right, 44 above, 44 below).
xdotool windowmove "$w" 0 0
xdotool windowsize "$w" 701 600
wait_geometry "$w" "0 0 701 600"
why=$(frame 0,0,701x600 --same "$work/pointer1.rgb") || fail "the resized window, the last frame at 2x on black: $why"
# F11 and Alt+Enter, still paused: fullscreen at 3x on the whole screen and back to the window.
for keys in F11 alt+Return; do
    xdotool key --window "$w" "$keys"
    wait_geometry "$w" "0 0 1024 768"
    why=$(frame 0,0,1024x768 --same "$work/pointer1.rgb") || fail "$keys, the last frame fullscreen: $why"
    xdotool key --window "$w" "$keys"
    wait_geometry "$w" "0 0 701 600"
    why=$(frame 0,0,701x600 --same "$work/pointer1.rgb") || fail "$keys again, the window restored: $why"
done
echo "F11 and Alt+Enter: fullscreen 1024x768 and back to 701x600, the show still paused"
# At 2x the sprite lands under the pointer: client pixel 94 + 2 * 60 + 1 is frame pixel 60.
xdotool mousemove --window "$w" $((94 + 2 * 60 + 1)) $((44 + 2 * 150 + 1))
xdotool key --window "$w" p
why=$(view "$w" --differs "$work/pointer1.rgb") || fail "resumed after the fullscreen switches: $why"
xdotool key --window "$w" p
why=$(view "$w" --still --sprite "$src/src/assets/mouse.ppm" 60,150) || fail "paused at 2x, the sprite under the pointer: $why"
xdotool key --window "$w" Escape
wait $pid
status=$?
[ $status = 0 ] || fail "ESC ended the program with status $status"
echo "ESC: status 0"
wineserver -k
INNER
echo "PASS"
