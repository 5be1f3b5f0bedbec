#!/usr/bin/env bash
# The recorder's video capture used as a person would: a missing or failing ffmpeg, unwritable
# outputs, a ten-second video checked with ffprobe, its pictures against the recorder's PNGs, and a
# video scaled 4x.
# Usage: video.sh BUILD_DIR SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
rec="$build/voxa7100-record"
# Lists what is in a folder, one name a line, hidden files included.
left() { ls -A "$1"; }

# Without ffmpeg on PATH: a clear message, status 2, and no file.
mkdir "$work/out"
PATH=/nonexistent "$rec" --frames 5 --video "$work/out/a.mp4" > /dev/null 2> "$work/err"
[ $? = 2 ] || fail "a missing ffmpeg did not give status 2"
grep -q '^voxa7100-record: .*ffmpeg.*not installed' "$work/err" || fail "no clear message for a missing ffmpeg: $(cat "$work/err")"
[ -z "$(left "$work/out")" ] || fail "files left without ffmpeg: $(left "$work/out")"

# An encoder that dies at once, and one that takes every frame and then fails: status 2, nothing left.
mkdir "$work/fake"
for body in 'exit 1' 'cat > /dev/null; exit 1'; do
    printf '#!/bin/sh\n%s\n' "$body" > "$work/fake/ffmpeg" && chmod +x "$work/fake/ffmpeg"
    PATH="$work/fake:$PATH" "$rec" --frames 150 --video "$work/out/a.mp4" > /dev/null 2> "$work/err"
    [ $? = 2 ] || fail "a failing encoder ('$body') did not give status 2"
    grep -q '^voxa7100-record: .*encoder' "$work/err" || fail "no clear message for a failing encoder: $(cat "$work/err")"
    [ -z "$(left "$work/out")" ] || fail "files left by a failing encoder: $(left "$work/out")"
done

if ! command -v ffmpeg > /dev/null || ! command -v ffprobe > /dev/null; then
    skip "ffmpeg and ffprobe are not installed (Debian package: ffmpeg); video capture not checked"
fi

# Outputs that cannot be written: status 2 before the show, nothing left behind.
: > "$work/plainfile"
mkdir "$work/folder.mp4"
for target in "$work/missing/a.mp4" "$work/plainfile/a.mp4" "$work/folder.mp4"; do
    "$rec" --frames 5 --video "$target" > /dev/null 2> "$work/err"
    [ $? = 2 ] || fail "unwritable '$target' did not give status 2"
    grep -q '^voxa7100-record: ' "$work/err" || fail "no clear message for '$target'"
done
[ -z "$(left "$work/folder.mp4")" ] || fail "files left in a folder given as the video"
[ "$(left "$work" | tr '\n' ' ')" = "err fake folder.mp4 out plainfile " ] || fail "files left: $(left "$work")"
if [ "$(id -u)" != 0 ]; then
    mkdir "$work/locked" && chmod a-w "$work/locked"
    "$rec" --frames 5 --video "$work/locked/a.mp4" 2> "$work/err"
    [ $? = 2 ] || fail "an unwritable folder was accepted"
    [ -z "$(left "$work/locked")" ] || fail "files left in the unwritable folder"
fi

# Ten seconds: 500 presentations at the default 20 ms each end at 10000 ms. The run prints the
# same hash as a run charged 20 ms per presentation without video, and nothing else on stdout.
"$rec" --frames 500 --video "$work/out/show.mp4" --wav "$work/show.wav" --hash > "$work/hash.video" ||
    fail "recording a video"
"$rec" --frames 500 --frame-ms 20 --hash > "$work/hash.plain" || fail "recording the hash"
cmp -s "$work/hash.video" "$work/hash.plain" || fail "video run differs: $(cat "$work/hash.video") vs $(cat "$work/hash.plain")"
[ "$(left "$work/out")" = "show.mp4" ] || fail "temporary files left: $(left "$work/out")"
probe() { ffprobe -v error -select_streams "$2" -show_entries "$3" -of default=noprint_wrappers=1:nokey=1 "$1"; }
[ "$(probe "$work/out/show.mp4" v stream=index | wc -l)" = 1 ] || fail "not one video stream"
[ "$(probe "$work/out/show.mp4" a stream=index | wc -l)" = 1 ] || fail "not one audio stream"
[ "$(probe "$work/out/show.mp4" v:0 stream=width,height | tr '\n' ' ')" = "256 256 " ] || fail "picture is not 256x256"
[ "$(probe "$work/out/show.mp4" v:0 stream=r_frame_rate)" = "50/1" ] || fail "frame rate is not 50/1"
[ "$(probe "$work/out/show.mp4" v:0 stream=pix_fmt)" = "yuv420p" ] || fail "pixel format is not yuv420p"
[ "$(probe "$work/out/show.mp4" a:0 stream=sample_rate)" = "44100" ] || fail "audio is not at 44100 Hz"
duration=$(probe "$work/out/show.mp4" v:0 format=duration)
awk -v d="$duration" 'BEGIN { exit !(d >= 9.5 && d <= 10.5) }' || fail "duration $duration, expected about 10 s"
audio=$(probe "$work/out/show.mp4" a:0 stream=duration)
awk -v d="$duration" -v a="$audio" 'BEGIN { exit !(a - d < 0.1 && d - a < 0.1) }' || fail "sound lasts $audio s, picture $duration s"
# The whole file decodes without errors.
ffmpeg -v error -i "$work/out/show.mp4" -f null - 2> "$work/decode" && [ ! -s "$work/decode" ] ||
    fail "the video does not decode cleanly: $(head -3 "$work/decode")"

# The sound track is the recorded sound, in step with the picture: decoded, it matches the WAV of
# the same run to within a few values of lag and the codec's loss.
ffmpeg -v error -y -i "$work/out/show.mp4" -t 10 -ac 1 -ar 44100 "$work/decoded.wav" || fail "cannot decode the sound"
python3 - "$work/show.wav" "$work/decoded.wav" <<'PY' || fail "the sound track is not the recorded sound"
import math, struct, sys, wave
def values(path):
    w = wave.open(path, 'rb')
    data = w.readframes(w.getnframes())
    return struct.unpack('<%dh' % (len(data) // 2), data)
want, got = values(sys.argv[1]), values(sys.argv[2])
# The bar changes when the first scene starts, near 2 s: a window across it pins the sound in time.
for second in (1.5, 5, 8):
    start, n = int(second * 44100), 44100
    lag = max(range(-40, 41), key=lambda l: sum(want[start + i] * got[start + i + l] for i in range(0, n, 5)))
    level = math.sqrt(sum(want[i] ** 2 for i in range(start, start + n)) / n)
    error = math.sqrt(sum((want[i] - got[i + lag]) ** 2 for i in range(start, start + n)) / n)
    print('sound at %.1f s: lag %d values, level %.0f, error %.0f' % (second, lag, level, error))
    assert level > 100, 'silence at %.1f s' % second
    assert abs(lag) <= 4 and error < 0.2 * level, 'sound at %.1f s is off' % second
PY

# Pictures: video frame K shows the last presentation made at or before K * 20 ms, and frames
# before the first presentation show the first. Presentation N is made at (N + 1) * MS, so at
# 30 ms frames 225 and 226 (4500, 4520 ms) both show 149, 227 shows 150 and 228, 229 show 151; at
# 10 ms frame K shows 2K - 1 and the even presentations are dropped. Despite codec loss each frame
# is close to its presentation and closer to it than to its neighbours.
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
png() { printf '%s/frame-%06d.png' "$1" "$2"; }
check_frames() {  # MS EXPECTED_SECONDS FRAME:PRESENTATION...
    local ms=$1 seconds=$2 video="$work/out/at$1.mp4" pngs="$work/png$1"
    shift 2
    "$rec" --frames 200 --frame-ms "$ms" --video "$video" --out "$pngs" || fail "recording at $ms ms"
    local d
    d=$(probe "$video" v:0 format=duration)
    awk -v d="$d" -v s="$seconds" 'BEGIN { exit !(d > s - 0.03 && d < s + 0.03) }' || fail "$ms ms run lasts $d s, expected $seconds"
    for pair in "$@"; do
        local frame=${pair%%:*} shown=${pair##*:} best other same error
        ffmpeg -v error -y -i "$video" -vf "select=eq(n\,$frame)" -frames:v 1 "$work/f$frame.png" ||
            fail "cannot extract frame $frame"
        best=$(rmse "$work/f$frame.png" "$(png "$pngs" "$shown")")
        awk -v e="$best" 'BEGIN { exit !(e != "" && e < 0.08) }' || fail "$ms ms: frame $frame differs from presentation $shown (RMSE $best)"
        for other in $((shown - 2)) $((shown - 1)) $((shown + 1)) $((shown + 2)); do
            [ "$other" -ge 0 ] || continue
            # Presentations that look the same cannot be told apart.
            same=$(rmse "$(png "$pngs" "$shown")" "$(png "$pngs" "$other")")
            [ "$same" = 0 ] && continue
            error=$(rmse "$work/f$frame.png" "$(png "$pngs" "$other")")
            awk -v e="$error" -v b="$best" 'BEGIN { exit !(e > b) }' ||
                fail "$ms ms: frame $frame is closer to presentation $other ($error) than to $shown ($best)"
        done
        echo "$ms ms: frame $frame shows presentation $shown (RMSE $best)"
    done
}
# Scaled 4x: a 1024 x 1024 video of the same presentations (same hash), whose frame 41 is close to
# presentation 40 written 4x as a PNG.
"$rec" --frames 50 --scale 4 --video "$work/out/big.mp4" --out "$work/big" --every 40 --hash > "$work/hash.big" ||
    fail "recording a scaled video"
"$rec" --frames 50 --frame-ms 20 --hash > "$work/hash.small" || fail "recording the hash"
cmp -s "$work/hash.big" "$work/hash.small" || fail "--scale 4 changed the hash"
[ "$(probe "$work/out/big.mp4" v:0 stream=width,height | tr '\n' ' ')" = "1024 1024 " ] || fail "scaled video is not 1024x1024"
ffmpeg -v error -y -i "$work/out/big.mp4" -vf "select=eq(n\,41)" -frames:v 1 "$work/big41.png" || fail "cannot extract a scaled frame"
error=$(rmse "$work/big41.png" "$(png "$work/big" 40)")
awk -v e="$error" 'BEGIN { exit !(e != "" && e < 0.08) }' || fail "scaled frame 41 differs from presentation 40 (RMSE $error)"
check_frames 30 6.02 0:0 225:149 226:149 227:150 228:151 229:151 230:152
check_frames 10 2.02 0:0 75:149 76:151 77:153
echo "PASS"
