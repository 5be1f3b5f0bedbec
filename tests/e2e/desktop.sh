#!/usr/bin/env bash
# The real program in a real window under Xvfb without a window manager, used as a person would:
# find the window and check its place and size; pause it and compare screenshots with what the
# headless platform presents, 1:1, at --scale 2, and resized (while running and while paused);
# the pace of the show with and without --no-vsync (60 presentations a second); the sprite under
# the pointer; ESC, closing the window, the command line, and starting without a display.
# Usage: desktop.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) when the desktop tools are missing.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
need xvfb-run Xvfb xdotool xwininfo import python3
need_built voxa7100

# The headless platform's frames, one hash each: with the pointer outside the window, and resting
# on frame pixel (100, 80).
export headless="$work/headless.txt"
"$build/voxa7100-record" --frames 2000 --pointer -400,-300 --hash-each > "$headless" 2>/dev/null &&
    "$build/voxa7100-record" --frames 1200 --pointer 100,80 --hash-each > "$work/pointer.txt" 2>/dev/null || {
    echo "FAIL: recorder"; exit 1; }

on_screen <<'INNER' || exit 1
export SDL_AUDIODRIVER=dummy
golden="$src/tests/golden/two-passes.txt"

# 1. The window: title, centred, 256 x 256. Held to 60 presentations a second with vsync, the
# show's first scene is on screen 8 s and 14 s after the window appears and gone by 24 s; a
# paused screenshot is one of its headless presentations. Moved to 0,0 and resized to 700 x 600
# while paused, it shows the same frame at 2x on black (94 px left and right, 44 above and below).
# ESC ends it with status 0.
xdotool mousemove 0 0
"$build/voxa7100" 2> "$work/run1.err" &
pid=$!
w=$(find_window) || fail "no window titled VOXA7100"
appeared=$(date +%s.%N)
geometry "$w"
[ "$WIDTH" = 256 ] && [ "$HEIGHT" = 256 ] || fail "client area is ${WIDTH}x${HEIGHT}, expected 256x256"
[ "$X" = 384 ] && [ "$Y" = 256 ] || fail "window at $X,$Y, expected centred at 384,256"
first_scene_pace "$w" "$appeared" "vsync"
xdotool key --window "$w" p
n=$(frame 384,256,256x256 --hashes "$headless" --still) || fail "paused: $n"
xdotool windowmove "$w" 0 0 windowsize "$w" 700 600
m=$(frame 0,0,700x600 --hashes "$headless" --number "$n") || fail "resized while paused: $m"
xdotool key --window "$w" Escape
wait $pid
status=$?
[ $status = 0 ] || fail "ESC ended the program with status $status"

# 2. With --no-vsync the hold alone keeps the same pace.
xdotool mousemove 0 0
"$build/voxa7100" --no-vsync 2> "$work/run2.err" &
pid=$!
w=$(find_window) || fail "no window with --no-vsync"
first_scene_pace "$w" "$(date +%s.%N)" "--no-vsync"
xdotool key --window "$w" Escape
wait $pid || fail "ESC ended the program with status $?"

# 3. --scale 2 --verbose: the pacing named, a 512 x 512 client area, a paused screenshot equal to a
# headless presentation at 2x, with the sprite under the pointer; then moved to 0,0 and resized
# while running, with the pointer moved over the frame, the same. (The pause acts in the scene's
# loop; the black end of the fade before it is no proof of anything.)
xdotool mousemove $((256 + 200)) $((128 + 160))
"$build/voxa7100" --scale 2 --verbose 2> "$work/run3.err" &
pid=$!
w=$(find_window) || fail "no window with --scale 2"
geometry "$w"
[ "$WIDTH" = 512 ] && [ "$HEIGHT" = 512 ] && [ "$X" = 256 ] && [ "$Y" = 128 ] ||
    fail "--scale 2: window ${WIDTH}x${HEIGHT} at $X,$Y, expected 512x512 at 256,128"
grep -q 'pacing: vsync' "$work/run3.err" || fail "--verbose says: $(cat "$work/run3.err")"
echo "--verbose: $(cat "$work/run3.err")"
xdotool key --window "$w" p
n=$(frame 256,128,512x512 --hashes "$work/pointer.txt" --still --stretch "pass 1: radial loop" "$golden") ||
    fail "--scale 2, pointer at client 200,160: $n"
xdotool key --window "$w" p
xdotool windowmove "$w" 0 0 windowsize "$w" 700 600
xdotool mousemove $((94 + 2 * 100 + 1)) $((44 + 2 * 80 + 1))
sleep 0.5
xdotool key --window "$w" p
m=$(frame 0,0,700x600 --hashes "$work/pointer.txt" --still --stretch "pass 1: radial loop" "$golden") ||
    fail "700x600, pointer at client 295,205: $m"
[ "$m" -gt "$n" ] || fail "the show did not go on after the resize (presentation $m after $n)"
echo "scale 2: presentations $n (512x512) and $m (700x600) with the sprite under the pointer"
xdotool key --window "$w" Escape
wait $pid || fail "ESC ended the program with status $?"

# 4. Closing the window as a user would ends it with status 0.
"$build/voxa7100" 2> "$work/run4.err" &
pid=$!
w=$(find_window) || fail "no window on the fourth run"
sleep 0.5
close_window "$w" || fail "close request"
wait $pid
status=$?
[ $status = 0 ] || fail "closing the window ended the program with status $status"
# 5. Closed as soon as it appears, while it may still be starting up: it ends with status 0 once it
# takes events.
"$build/voxa7100" 2> "$work/run5.err" &
pid=$!
w=$(find_window) || fail "no window on the fifth run"
close_window "$w" || fail "close request"
wait $pid
status=$?
[ $status = 0 ] || fail "closing the window at once ended the program with status $status"

# 6. A scale larger than the screen is refused with a message and status 2.
"$build/voxa7100" --scale 4 > /dev/null 2> "$work/scale4.err"
status=$?
[ $status = 2 ] && grep -q -- '--scale 4 does not fit the screen' "$work/scale4.err" ||
    fail "--scale 4 on 1024x768: status $status, $(cat "$work/scale4.err")"
echo "--scale 4: $(cat "$work/scale4.err")"
echo "desktop: window, pace, screenshots at 1x and 2x, resizes, pointer, ESC, close and early close all passed"
INNER

# 7. The command line: --help lists the options and the keys (status 0); a bad argument gets one
# usage message on standard error and status 2.
"$build/voxa7100" --help > "$work/help.txt" 2>&1
status=$?
[ $status = 0 ] && grep -q -- '--scale N' "$work/help.txt" && grep -q 'F11, Alt+Enter' "$work/help.txt" &&
    grep -q 'pause / resume' "$work/help.txt" || { echo "FAIL: --help (status $status)"; cat "$work/help.txt"; exit 1; }
"$build/voxa7100" --bogus > "$work/bad.out" 2> "$work/bad.err"
status=$?
[ $status = 2 ] && [ ! -s "$work/bad.out" ] && grep -q '^usage: voxa7100' "$work/bad.err" ||
    { echo "FAIL: a bad option gave status $status: $(cat "$work/bad.out" "$work/bad.err")"; exit 1; }
echo "command line: --help and a bad option passed"

# 8. Without a display: one clear line on standard error and status 1.
env -u DISPLAY -u WAYLAND_DISPLAY "$build/voxa7100" > /dev/null 2> "$work/nodisplay.err"
status=$?
[ $status = 1 ] || { echo "FAIL: without a display the status was $status"; cat "$work/nodisplay.err"; exit 1; }
grep -q "no display available" "$work/nodisplay.err" || { echo "FAIL: message: $(cat "$work/nodisplay.err")"; exit 1; }
echo "no display: $(head -n 1 "$work/nodisplay.err")"
echo "PASS"
