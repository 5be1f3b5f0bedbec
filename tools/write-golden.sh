#!/usr/bin/env bash
# Rewrites the golden record of the show (tests/golden/*.txt) from the recorder of BUILD_DIR
# (default build). Only an intended change of the show may do this: name it in the commit message.
# Platform, viewing and browser work must never need it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target voxa7100-record >/dev/null
record="$build/voxa7100-record"
# Two whole passes and the fade-out into the third, no keys, each presentation free.
"$record" --frames 9821 --frame-ms 0 --golden tests/golden/two-passes.txt 2>/dev/null
# Every key of the table: each toggle off and on, the background cycle, 100 and 50 frames a second,
# the counters, pause with keys while paused, the music frozen over a scene start and thawed, SPACE,
# and ESC's fade-out in background mode 2; 7 ms a presentation, so paced frames sleep.
keys=200:1,260:1,320:4,380:4,440:8,500:w,540:w,580:w,620:w,700:b,760:g,820:b,880:g,940:f,1000:f
keys+=,1200:6,1300:5,1400:p,1410:8,1420:p,1500:8,1550:o,1600:space
keys+=,1700:o,1800:6,1900:b,1950:f,2000:b,2050:f,2100:5,2200:g,2250:g
keys+=,2500:w,2550:w,2600:esc
"$record" --frames 4000 --frame-ms 7 --keys "$keys" --golden tests/golden/every-key.txt 2>/dev/null
wc -l tests/golden/*.txt
