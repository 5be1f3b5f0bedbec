# Shared by the real-program tests (sourced, not run on its own). A test script starts with
#     . "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
#     e2e_start "$@"
#     need TOOL...
# and gives what runs on a screen to on_screen as a quoted here-document, which reads the
# variables the script exported (build, src and work always).

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

# The Debian package that brings each tool the tests use.
declare -A E2E_PACKAGE=(
    [xvfb-run]=xvfb [Xvfb]=xvfb [xdotool]=xdotool [xwininfo]=x11-utils [openbox]=openbox
    [import]=imagemagick [identify]=imagemagick [convert]=imagemagick [compare]=imagemagick
    [python3]=python3 [sox]=sox [ffmpeg]=ffmpeg [ffprobe]=ffmpeg [script]=bsdutils
    [cpack]=cmake [dpkg-deb]=dpkg [dpkg-shlibdeps]=dpkg-dev [desktop-file-validate]=desktop-file-utils
    [wine]=wine [wineboot]=wine [wineserver]=wine
    [x86_64-w64-mingw32-objdump]=binutils-mingw-w64-x86-64 [x86_64-w64-mingw32-windres]=binutils-mingw-w64-x86-64
)

# Skips the test (status 77) unless every tool named is installed; names the missing ones and
# their Debian packages.
need() {
    local tool missing=() packages=()
    for tool in "$@"; do
        command -v "$tool" > /dev/null || { missing+=("$tool"); packages+=("${E2E_PACKAGE[$tool]:-$tool}"); }
    done
    [ ${#missing[@]} = 0 ] ||
        skip "${missing[*]} not installed (Debian packages: $(printf '%s\n' "${packages[@]}" | sort -u | xargs))"
}

# Skips the test unless the build tree holds program $1.
need_built() { [ -x "$build/$1" ] || skip "$1 was not built in $build"; }

# Takes the script's arguments, BUILD_DIR SOURCE_DIR: sets build and src to them (absolute) and
# work to a new temporary folder, exports the three, and on exit runs the commands given to
# at_exit (last given, first run), then removes the folder.
e2e_start() {
    [ $# = 2 ] || { echo "usage: ${0##*/} BUILD_DIR SOURCE_DIR" >&2; exit 2; }
    build=$(cd "$1" && pwd) && src=$(cd "$2" && pwd) || fail "no build folder $1 or source folder $2"
    work=$(mktemp -d)
    export build src work
    trap e2e_exit EXIT
}
E2E_AT_EXIT=()
at_exit() { E2E_AT_EXIT=("$*" "${E2E_AT_EXIT[@]}"); }
e2e_exit() {
    local command
    for command in "${E2E_AT_EXIT[@]}"; do eval "$command"; done
    chmod -R u+w "$work" 2> /dev/null
    rm -rf "$work"
}

# Runs the bash script on standard input on a display of its own, an Xvfb screen of SCREEN
# (default 1024x768) with 24-bit colour, under set -u and with this file's helpers; at most $1
# seconds when given. Its status is on_screen's.
on_screen() {
    { printf 'set -u\n. %q\n' "$E2E_DIR/lib.bash"; cat; } > "$work/screen.sh"
    timeout "${1:-0}" xvfb-run -a -s "-screen 0 ${SCREEN:-1024x768}x24 -noreset" bash "$work/screen.sh"
}

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

# Asks window $1 to close, as a window manager's close button does.
close_window() { python3 "$E2E_DIR/x11_close.py" "$1"; }

# Checks what the screen shows (tests/e2e/frame.py --help).
frame() { python3 "$E2E_DIR/frame.py" "$@"; }

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

# The native Windows program under Wine (wine_*.sh). The tests share one Wine prefix in the build
# tree, made by wine_prefix.sh (CTest e2e.wine.prefix) and removed by wine_cleanup.sh; CTest runs
# them one at a time, so no two wineboots or wineservers work on it at once.
# VOXA_WINDOWS_EXE names an executable to test instead of building one.

# The Wine prefix the tests share.
wine_prefix() { echo "$build/wine-prefix"; }

# Skips unless Wine and the tools the Wine tests use are installed; exports WINEPREFIX and the rest
# of Wine's settings, and exe, the executable: an explicit one, the cross-build tree of
# tools/build-windows.sh, or a cross-build inside this build tree (wine_prefix.sh builds it).
# Any wineserver of the prefix is ended on exit.
wine_start() {
    need wine wineboot wineserver xvfb-run Xvfb xdotool xwininfo import python3 script \
        x86_64-w64-mingw32-objdump x86_64-w64-mingw32-windres
    WINEPREFIX=$(wine_prefix)
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
    if [ -n "${VOXA_WINDOWS_EXE:-}" ]; then
        exe=$VOXA_WINDOWS_EXE
    elif [ -f "$src/build-win/CMakeCache.txt" ]; then
        exe=$src/build-win/voxa7100.exe
    else
        exe=$build/win/voxa7100.exe
    fi
    export exe
    at_exit 'wineserver -k > /dev/null 2>&1'
}

# Skips unless wine_prefix.sh made the prefix; fails when it left no executable.
need_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] || skip "no Wine prefix in $WINEPREFIX (CTest e2e.wine.prefix makes it)"
    [ -f "$exe" ] || fail "$exe was not built"
}

# Writes the headless platform's presentations, one hash each, with the pointer outside the
# window, to $work/headless.txt, and exports headless, its name.
headless_hashes() {
    [ -x "$build/voxa7100-record" ] || fail "no recorder in $build"
    export headless="$work/headless.txt"
    "$build/voxa7100-record" --frames 6000 --pointer -400,-300 --hash-each > "$headless" || fail "recorder"
}

# The start of a Wine test that runs the program on a screen: e2e_start with the script's
# arguments, Wine and the prefix that e2e.wine.prefix made, and the headless presentations.
wine_screen_start() {
    e2e_start "$@"
    wine_start
    need_prefix
    headless_hashes
}

# Presentations 0-96 are start-up pictures, 97-128 the fade before the first scene.
first_scene=129
second_scene=1129

# Checks what window $1 shows (frame with the options after $1). Without a window manager, Wine's
# X window is the client area alone (decorations are left to the absent manager).
view() { geometry "$1"; shift; frame "$X,$Y,${WIDTH}x$HEIGHT" "$@"; }

# Seconds since $1 (a date +%s.%N).
since() { awk -v t="$1" -v now="$(date +%s.%N)" 'BEGIN { printf "%.1f", now - t }'; }

# The pace of the show as a viewer sees it in window $1, which appeared at $2 (a date +%s.%N); $3
# names the run. Held to 60 presentations a second on every display, the unpaced first scene is
# still on screen 8 s and 14 s after the window appeared, and it and its fade-out are gone by 24 s.
# Needs $headless (headless_hashes).
first_scene_pace() {
    local at n
    for at in 8 14 24; do
        sleep "$(awk -v s="$(since "$2")" -v at=$at 'BEGIN { print (s < at ? at - s : 0) }')"
        n=$(view "$1" --hashes "$headless" --wait 2) || fail "$3, $at s after the window appeared: $n"
        if [ $at -lt 24 ]; then
            [ "$n" -ge $first_scene ] && [ "$n" -lt $second_scene ] ||
                fail "$3: $(since "$2") s after the window appeared it shows presentation $n, not the first scene"
        else
            [ "$n" -ge $((second_scene + 32)) ] ||
                fail "$3: $(since "$2") s after the window appeared it shows presentation $n, the first scene or its fade-out"
        fi
        echo "$3: presentation $n on screen $(since "$2") s after the window appeared"
    done
}

# Prints the last lines of the logs $work/NAME.log named, those that are not empty.
show_logs() {
    local log
    for log in "$@"; do [ -s "$work/$log.log" ] && { echo "--- $log:"; tail -n 20 "$work/$log.log"; }; done
    return 0
}
