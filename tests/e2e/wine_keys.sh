#!/usr/bin/env bash
# The native Windows program's keyboard under Wine inside Xvfb: a lone Alt or F10 press does not
# freeze the show.
# Waits are for what the screen shows, not fixed times.
# Usage: wine_keys.sh BUILD_DIR SOURCE_DIR, after wine_prefix.sh (CTest runs it first). Exit 77
# (skipped) when Wine or the desktop tools are missing, or when wine_prefix.sh made no prefix.
# VOXA_WINDOWS_EXE names an executable to test instead of building one; VOXA_KEEP_SHOTS names a
# folder that receives a failing screenshot.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
wine_screen_start "$@"

on_screen 200 <<'INNER' || { show_logs run4; exit 1; }
# A lone Alt or F10 must not start the keyboard menu loop, which would hold the show until the
# next key. Wine never starts it for windows a window manager would decorate, so this run has Wine
# draw the window's frame itself, as Windows does.
# The prefix is shared with the other Wine tests: Wine's default again however this run ends.
undo_managed() { wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f > /dev/null 2>&1; }
trap undo_managed EXIT
# The pointer rests where the frame has no pixel (left of it), as in the headless presentations.
xdotool mousemove 0 0
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1 || fail "reg add"
wine "$exe" > "$work/run4.log" 2>&1 &
pid=$!
w=$(find_window 600) || { kill $pid; fail "no window Wine frames"; }
# The X window is now the whole window: the client area sits inside equal frames at the sides and below.
geometry "$w"
client="$(( X + (WIDTH - 256) / 2 )),$(( Y + HEIGHT - 256 - (WIDTH - 256) / 2 )),256x256"
why=$(frame "$client" --hashes "$headless" --from $first_scene --wait 30) ||
    fail "the first scene in a window Wine frames: $why"
for key in alt F10; do
    xdotool key --window "$w" $key
    # Time for the menu loop to take hold, then the picture must still change.
    sleep 0.5
    why=$(frame "$client" --save "$work/alt.rgb" --wait 0) || fail "a lone $key press: $why"
    why=$(frame "$client" --differs "$work/alt.rgb" --wait 2) || fail "the show froze after a lone $key press: $why"
done
echo "lone Alt and F10: the show goes on"
xdotool key --window "$w" Escape
wait $pid
status=$?
[ $status = 0 ] || fail "ESC ended the run in a window Wine frames with status $status"
undo_managed
trap - EXIT
wineserver -k
INNER
echo "PASS"
