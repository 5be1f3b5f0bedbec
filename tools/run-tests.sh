#!/usr/bin/env bash
# Sets up (installs missing Debian packages when run as root), builds, and runs every test: unit and
# headless tests, the real programs under Xvfb and Wine, the same tests under sanitizers, and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${MINGW_PACKAGES[@]}" "${WINE_PACKAGES[@]}" \
    "${FUZZ_PACKAGES[@]}"
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
# The native Windows program, cross-built; its test runs it under Wine.
bash tools/build-windows.sh
ctest --test-dir build --output-on-failure -j"$jobs"
# The same tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOXA_SANITIZE=ON -DVOXA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j"$jobs" -E '^e2e\.'
# The fuzzers of the picture decoder and the line-drawing parser, a minute each; any finding fails.
bash tools/run-fuzz.sh 60
