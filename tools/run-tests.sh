#!/usr/bin/env bash
# Sets up (installs missing Debian packages when run as root), builds, and runs every test: unit and
# headless tests (also all at once in one process, in a shuffled order), the golden record, the real
# programs under Xvfb and Wine, the page in Chromium, Firefox and WebKit, the same tests under
# sanitizers, and the fuzzers.
# A test that cannot run here is skipped and named at the end; with CI set (CI=true), a skip fails.
# With --quick: only the native tree, and through CTest only the unit tests (the headless show and
# the layer check among them) and the golden record (labels unit and golden).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
quick=
case "${1:-}" in
    --quick) quick=1 ;;
    '') ;;
    *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac
jobs=$(nproc)
if [ -n "$quick" ]; then
    ensure_packages "${BUILD_PACKAGES[@]}" "${QUICK_PACKAGES[@]}"
    cmake --preset release >/dev/null
    cmake --build --preset release -j"$jobs"
    # Passing tests go unnamed: what failed, and the summary line.
    ctest --preset quick -j"$jobs" 2>&1 | grep -v -E '^ *(Start |[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed)'
    exit 0
fi
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${MINGW_PACKAGES[@]}" "${WINE_PACKAGES[@]}" \
    "${WEB_PACKAGES[@]}" "${BROWSER_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
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

cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"
# The native Windows program, cross-built; its test runs it under Wine.
bash tools/build-windows.sh
# The page and the recorder for Node, built with Emscripten; the tests web.* and Golden.web.* use them.
bash tools/build-web.sh
run_ctest --preset release
# Every unit test once more in one process, in a shuffled order: no test may depend on another's leftovers.
seed=7100
echo "Unit tests in one process, shuffled with seed $seed (repeat: build/tests/voxa_tests --gtest_shuffle --gtest_random_seed=$seed)"
build/tests/voxa_tests --gtest_shuffle --gtest_random_seed=$seed --gtest_brief=1
# The same tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
run_ctest --preset asan
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
