#!/usr/bin/env bash
# Measures the native Windows program under Wine inside Xvfb (1024 x 768, no window manager): how
# many presentations a second the unpaced first scene gets, and the program's CPU time over its
# first 40 seconds. The rate comes from screenshots: each one is matched with the headless
# recorder's presentations, so its number is known, and two numbers a second apart give the rate.
# Usage: tools/wine-rate.sh [program options, e.g. --no-vsync]
# BUILD names the native build tree with the recorder (default build), EXE the Windows program
# (default build-win/voxa7100.exe, made by tools/build-windows.sh).
set -u
cd "$(dirname "$0")/.."
build=$(cd "${BUILD:-build}" && pwd)
exe=$(realpath "${EXE:-build-win/voxa7100.exe}")
[ -x "$build/voxa7100-record" ] && [ -f "$exe" ] || { echo "needs $build/voxa7100-record and $exe" >&2; exit 1; }
work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
"$build/voxa7100-record" --frames 2000 --pointer -400,-300 --hash-each > "$work/headless.txt" 2>/dev/null
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
lib="$PWD/tests/e2e/lib.bash" options="$*"
export work exe lib options
cat > "$work/inner.sh" <<'INNER'
set -u
. "$lib"
timeout 120 wineboot -i > /dev/null 2>&1; wineserver -w
# The number of the presentation on the screen (-1 while none matches, e.g. a frame half drawn),
# then the time the screenshot was taken.
sample() {
    local t n
    geometry "$w"
    t=$(date +%s.%N)
    n=$(frame "$X,$Y,${WIDTH}x$HEIGHT" --hashes "$work/headless.txt" --wait 0 2>/dev/null) || n=-1
    echo "$n $t"
}
xdotool mousemove 0 0
wine "$exe" $options > /dev/null 2>&1 &
pid=$!
w=$(find_window 600) || { echo "no window"; exit 1; }
appeared=$(date +%s)
# Screenshots as fast as they come, for up to 8 s of the scene; the first and the last taken in
# the unpaced stretch (presentations 97 to 1160: the fade-out before the first scene, the scene,
# and the fade-out after it) give the rate.
first=""; last=""
for i in $(seq 1 300); do
    read -r n t <<< "$(sample)"
    if [ "$n" -ge 97 ] && [ "$n" -lt 1161 ]; then
        [ -n "$first" ] || first="$n $t"
        last="$n $t"
        [ "$(awk -v a="${first#* }" -v b="$t" 'BEGIN { print (b - a >= 8) }')" = 1 ] && break
    fi
    [ "$n" -ge 1161 ] && break
done
if [ -n "$first" ] && [ "$first" != "$last" ]; then
    echo "the show's unpaced stretch: presentations ${first%% *} to ${last%% *} in $(awk -v a="${first#* }" -v b="${last#* }" 'BEGIN { printf "%.2f", b - a }') s:" \
         "$(awk -v n="${first%% *}" -v m="${last%% *}" -v a="${first#* }" -v b="${last#* }" 'BEGIN { printf "%.0f", (m - n) / (b - a) }') a second"
else
    echo "the show's unpaced stretch: fewer than two screenshots matched a presentation of the stretch; run again"
fi
sleep $(( appeared + 40 - $(date +%s) > 0 ? appeared + 40 - $(date +%s) : 0 ))
read -r -a stat < /proc/$pid/stat
echo "CPU time over the first 40 s: $(awk -v u=${stat[13]} -v s=${stat[14]} -v hz=$(getconf CLK_TCK) 'BEGIN { printf "%.1f s (user %.1f, system %.1f)", (u + s) / hz, u / hz, s / hz }')"
kill $pid
INNER
timeout 300 xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$work/inner.sh"
