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
