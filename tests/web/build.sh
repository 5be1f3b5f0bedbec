#!/usr/bin/env bash
# Brings the web build up to date for the tests that use it (the page, the recorder under Node):
# the tree of tools/build-web.sh (SOURCE_DIR/build-web) when it exists, else BUILD_DIR/web.
# Usage: build.sh SOURCE_DIR BUILD_DIR. Exit 77 (skipped) without Emscripten.
set -u
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
if [ -f "$src/build-web/CMakeCache.txt" ]; then
    cmake --build "$src/build-web" -j2 || { echo "FAIL: building $src/build-web"; exit 1; }
elif command -v emcmake >/dev/null; then
    { emcmake cmake -S "$src" -B "$build/web" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
      cmake --build "$build/web" -j2; } || { echo "FAIL: building $build/web"; exit 1; }
else
    echo "SKIP: Emscripten is not installed (Debian package emscripten; bash tools/build-web.sh installs it)"
    exit 77
fi
