#!/usr/bin/env bash
# Fullscreen of the real program under Xvfb with a window manager (openbox; without one X does not
# let a window cover the screen): F11 and Alt+Enter each make the paused window cover the screen
# with the same frame at 3x, centred on black, and give back the window's size and place; after
# --fullscreen --scale 2, leaving gives the 512 x 512 window.
# Usage: fullscreen.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) when the desktop tools are missing.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
need xvfb-run Xvfb xdotool xwininfo openbox import python3
need_built voxa7100

"$build/voxa7100-record" --frames 1200 --pointer -400,-300 --hash-each > "$work/headless.txt" 2>/dev/null || {
    echo "FAIL: recorder"; exit 1; }

on_screen <<'INNER' || exit 1
export SDL_AUDIODRIVER=dummy

openbox --startup "touch $work/wm-ready" > "$work/openbox.log" 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null' EXIT
for i in $(seq 1 200); do [ -e "$work/wm-ready" ] && break; sleep 0.05; done
[ -e "$work/wm-ready" ] || fail "openbox did not start: $(cat "$work/openbox.log")"

# 1. The paused window, full screen and back, with F11 and then with Alt+Enter; the frame stays.
xdotool mousemove 0 0
"$build/voxa7100" 2> "$work/run1.err" &
pid=$!
w=$(find_window) || fail "no window titled VOXA7100"
sleep 0.5
geometry "$w"
[ "$WIDTH $HEIGHT" = "256 256" ] || fail "client area ${WIDTH}x${HEIGHT}, expected 256x256"
xdotool key --window "$w" p
n=$(frame "$X,$Y,256x256" --hashes "$work/headless.txt" --still --stretch "pass 1: radial loop" "$src/tests/golden/two-passes.txt") ||
    fail "paused window: $n"
for keys in F11 alt+Return; do
    xdotool key --window "$w" "$keys"
    wait_geometry "$w" "0 0 1024 768"
    m=$(frame 0,0,1024x768 --hashes "$work/headless.txt" --number "$n") || fail "$keys, full screen: $m"
    xdotool key --window "$w" "$keys"
    wait_geometry "$w" "$X $Y 256 256"
    m=$(frame "$X,$Y,256x256" --hashes "$work/headless.txt" --number "$n") || fail "$keys again, window: $m"
    echo "$keys: presentation $n at 3x on the 1024x768 screen, then again in the 256x256 window at $X,$Y"
done
xdotool key --window "$w" Escape
wait $pid || fail "ESC ended the program with status $?"

# 2. Started in fullscreen with --scale 2: leaving gives the 512 x 512 window.
"$build/voxa7100" --fullscreen --scale 2 2> "$work/run2.err" &
pid=$!
w=$(find_window) || fail "no window with --fullscreen"
wait_geometry "$w" "0 0 1024 768"
xdotool key --window "$w" F11
for i in $(seq 1 100); do
    geometry "$w"
    [ "$WIDTH $HEIGHT" = "512 512" ] && break
    sleep 0.05
done
[ "$WIDTH $HEIGHT" = "512 512" ] || fail "leaving --fullscreen --scale 2 gave ${WIDTH}x${HEIGHT}"
echo "--fullscreen --scale 2: full screen, then a 512x512 window at $X,$Y"
xdotool key --window "$w" Escape
wait $pid || fail "ESC ended the program with status $?"
INNER
echo "PASS"
