#!/usr/bin/env bash
# Measures what presenting one frame costs the desktop program under Xvfb (no GPU), without waiting
# for the display and bypassing the hold to 60 a second: at 1x and 3x in a window, and fullscreen
# (with openbox, which X needs for that) on a 1024 x 768 and on a 1920 x 1080 screen.
# Usage: tools/present-cost.sh [BUILD_DIR] (needs the benchmarks built: voxa_present_bench).
set -eu
build=$(cd "${1:-build}" && pwd)
bench="$build/bench/voxa_present_bench"
[ -x "$bench" ] || { echo "build $bench first (cmake --build $build --target voxa_present_bench)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
flags="--benchmark_repetitions=3 --benchmark_report_aggregates_only=true --benchmark_min_time=1"
export bench flags work
# One benchmark run under Xvfb: the options in options, with openbox when mode is fullscreen.
cat > "$work/inner.sh" <<'INNER'
if [ "$mode" = fullscreen ]; then
    openbox --startup "touch $work/wm-ready" > /dev/null 2>&1 &
    wm=$!
    for i in $(seq 1 200); do [ -e "$work/wm-ready" ] && break; sleep 0.05; done
fi
SDL_AUDIODRIVER=dummy "$bench" $options $flags 2>/dev/null | grep -E 'median|mean'
[ -n "${wm:-}" ] && kill $wm
rm -f "$work/wm-ready"
INNER
# run SCREEN MODE [OPTIONS]
run() {
    export mode=$2 options=${3:-}
    echo "screen $1:"
    xvfb-run -a -s "-screen 0 ${1}x24 -noreset" bash "$work/inner.sh"
}
run 1024x768 window --scale=1
run 1024x768 window "--scale 3"
run 1024x768 fullscreen --fullscreen
run 1920x1080 fullscreen --fullscreen
