#!/usr/bin/env bash
# The recorder built to WebAssembly, run with Node as a person would: it hashes the same frames as
# the native recorder, writes its sound into a real file, and refuses the PNG and video outputs it
# was built without, with a message and status 2.
# Usage: recorder.sh SOURCE_DIR BUILD_DIR. Exit 77 (skipped) without node or the web build.
set -u
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
web=$src/build-web
command -v node >/dev/null || { echo "SKIP: node is not installed"; exit 77; }
[ -f "$web/voxa7100-record.js" ] || { echo "SKIP: $web/voxa7100-record.js was not built"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
record() { node "$web/voxa7100-record.js" "$@"; }

want=$("$build/voxa7100-record" --frames 300 --keys 150:w --hash) || fail "native recorder"
got=$(record --frames 300 --keys 150:w --hash) || fail "status $? from the WebAssembly recorder"
[ "$got" = "$want" ] || fail "hash '$got', the native recorder's '$want'"

record --frames 200 --frame-ms 20 --wav "$work/a.wav" || fail "--wav: status $?"
"$build/voxa7100-record" --frames 200 --frame-ms 20 --wav "$work/b.wav" || fail "native --wav"
cmp -s "$work/a.wav" "$work/b.wav" || fail "the sound file differs from the native recorder's"

for option in "--out $work/frames" "--video $work/v.mp4"; do
    # shellcheck disable=SC2086
    record --frames 10 $option 2> "$work/err"
    status=$?
    [ $status = 2 ] || fail "$option: status $status, expected 2"
    grep -q "not available in this build" "$work/err" || fail "$option: message '$(head -n 1 "$work/err")'"
done
echo "PASS: hashes and sound as the native recorder's; --out and --video refused: $(head -n 1 "$work/err")"
