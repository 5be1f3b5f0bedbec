#!/usr/bin/env bash
# Measures the CPU time (user + system, all threads) the desktop program takes over its first 40
# seconds under Xvfb, held to 60 presentations a second with vsync (the default) and without (--no-vsync).
# Usage: tools/desktop-cpu.sh [BUILD_DIR] [SECONDS]
set -eu
build=$(cd "${1:-build}" && pwd)
seconds=${2:-40}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export build seconds work opts
# One run under Xvfb with the options in opts.
cat > "$work/inner.sh" <<'INNER'
SDL_AUDIODRIVER=dummy "$build/voxa7100" $opts 2>/dev/null &
pid=$!
sleep "$seconds"
read -r -a stat < /proc/$pid/stat
# Fields 14 and 15 (after the name, which has no spaces here): user and system time in clock ticks.
echo "${stat[13]} ${stat[14]}" > "$work/ticks"
w=$(xdotool search --onlyvisible --name '^VOXA7100$' | head -n 1)
xdotool key --window "$w" Escape
wait $pid
INNER
for opts in "" "--no-vsync"; do
    xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash "$work/inner.sh"
    read -r user system < "$work/ticks"
    hz=$(getconf CLK_TCK)
    python3 -c "import sys; u, s, hz = map(int, sys.argv[1:4]); print('voxa7100 %-10s first %s s: %.1f s CPU (user %.1f, system %.1f), %.0f%% of one core' % (sys.argv[4], sys.argv[5], (u + s) / hz, u / hz, s / hz, 100 * (u + s) / hz / float(sys.argv[5])))" \
        "$user" "$system" "$hz" "${opts:-(paced)}" "$seconds"
done
