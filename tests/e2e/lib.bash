# Shared by the real-program tests (sourced, not run on its own).

fail() { echo "FAIL: $*"; exit 1; }

# Prints the id of the visible window titled VOXA7100, polling every 50 ms; $1 tries (default 200).
find_window() {
    local w i
    for i in $(seq 1 "${1:-200}"); do
        w=$(xdotool search --onlyvisible --name '^VOXA7100$' 2>/dev/null | head -n 1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.05
    done
    return 1
}

# Checks what the screen shows (tests/e2e/frame.py --help).
frame() { python3 "${BASH_SOURCE[0]%/*}/frame.py" "$@"; }

# Sets X, Y, WIDTH and HEIGHT to window $1's place and size on the screen.
geometry() {
    read -r X Y WIDTH HEIGHT <<< "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4}
        /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')"
}

# Waits (at most 10 s) until window $1's geometry is $2 (X Y WIDTH HEIGHT); leaves X ... HEIGHT alone.
wait_geometry() {
    local i X Y WIDTH HEIGHT
    for i in $(seq 1 200); do
        geometry "$1"
        [ "$X $Y $WIDTH $HEIGHT" = "$2" ] && return 0
        sleep 0.05
    done
    fail "window at $X $Y $WIDTH $HEIGHT (X Y WIDTH HEIGHT), expected $2"
}
