#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a bounded time on a
# temporary copy of its seed corpus (the repository stays clean). Fails on any crash, hang,
# leak, memory blow-up or sanitizer report; the offending inputs are kept in build-fuzz/artifacts.
# Usage: tools/run-fuzz.sh [SECONDS per target, default 60] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"

seconds=${1:-60}
shift || true
case $seconds in
    '' | *[!0-9]*) echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2 ;;
esac
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
jobs=$(nproc)

cmake --preset fuzz >/dev/null
names=()
for t in "${targets[@]}"; do names+=("${t}_fuzz"); done
cmake --build --preset fuzz -j"$jobs" --target "${names[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=build-fuzz/artifacts
mkdir -p "$artifacts"
failed=()
for t in "${targets[@]}"; do
    program=build-fuzz/fuzz/${t}_fuzz
    mkdir -p "$work/$t"
    cp -R "fuzz/corpus/$t/." "$work/$t/"
    rm -f "$artifacts/$t"-*
    echo "== $t: ${seconds}s on $(find "$work/$t" -type f | wc -l) seed files"
    status=0
    UBSAN_OPTIONS=print_stacktrace=1 "$program" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/$t-" \
        "$work/$t" >"$work/$t.log" 2>&1 || status=$?
    found=$(find "$artifacts" -maxdepth 1 -type f -name "$t-*" | sort)
    if [ "$status" -ne 0 ] || [ -n "$found" ] || grep -q 'runtime error:\|ERROR: \(Address\|Leak\)Sanitizer\|ERROR: libFuzzer' "$work/$t.log"; then
        echo "!! $t failed (status $status); log follows" >&2
        tail -n 80 "$work/$t.log" >&2
        for f in $found; do
            echo "!! input $f ($(stat -c %s "$f") bytes), first 512 bytes:" >&2
            od -A d -c "$f" | head -n 33 >&2
        done
        failed+=("$t")
    else
        grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/$t.log" || true
        echo "   $t: corpus grew to $(find "$work/$t" -type f | wc -l) files"
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing found problems in: ${failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
echo "Fuzzing: no problems found in ${targets[*]}"
