#!/usr/bin/env bash
# Sets up (installs missing Debian packages when run as root), builds, and runs every test: unit and
# headless tests (also all at once in one process, in a shuffled order), the golden record, the real
# programs under Xvfb and Wine, the page in headless Chromium, the same tests under sanitizers, and
# the fuzzers.
# A test that cannot run here is skipped and named at the end; with CI set (CI=true), a skip fails.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${MINGW_PACKAGES[@]}" "${WINE_PACKAGES[@]}" \
    "${WEB_PACKAGES[@]}" "${BROWSER_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
jobs=$(nproc)
skipped=()
# Runs ctest with the given arguments and notes the tests it skipped.
run_ctest() {
    local log
    log=$(mktemp)
    local status=0
    ctest --output-on-failure -j"$jobs" "$@" 2>&1 | tee "$log" || status=$?
    while IFS= read -r name; do skipped+=("$name"); done < <(sed -n 's/^[[:space:]]*[0-9]\+ - \(.*\) (Skipped)$/\1/p' "$log")
    rm -f "$log"
    return $status
}

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
# The native Windows program, cross-built; its test runs it under Wine.
bash tools/build-windows.sh
# The page and the recorder for Node, built with Emscripten; the tests web.* and Golden.web.* use them.
bash tools/build-web.sh
run_ctest --test-dir build
# Every unit test once more in one process, in a shuffled order: no test may depend on another's leftovers.
seed=7100
echo "Unit tests in one process, shuffled with seed $seed (repeat: build/tests/voxa_tests --gtest_shuffle --gtest_random_seed=$seed)"
build/tests/voxa_tests --gtest_shuffle --gtest_random_seed=$seed --gtest_brief=1
# The same tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOXA_SANITIZE=ON -DVOXA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_ctest --test-dir build-asan -E '^e2e\.|web'
# The fuzzers of the picture decoder and the line-drawing parser, a minute each; any finding fails.
bash tools/run-fuzz.sh 60

if [ ${#skipped[@]} -gt 0 ]; then
    echo "Skipped (a tool they need is missing here): ${skipped[*]}"
    if [ -n "${CI:-}" ]; then
        echo "FAIL: CI installs every tool, so a skipped test means a broken install step" >&2
        exit 1
    fi
fi
echo "All tests passed."
