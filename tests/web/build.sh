#!/usr/bin/env bash
# Brings the web build (SOURCE_DIR/build-web, the tree of tools/build-web.sh and of the preset
# "web") up to date for the tests that use it: the page and the recorder under Node.
# Usage: build.sh SOURCE_DIR BUILD_DIR. Exit 77 (skipped) without Emscripten.
set -u
src=$(cd "$1" && pwd)
cd "$src" || exit 1
if [ ! -f /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake ]; then
    echo "SKIP: Emscripten is not installed (Debian package emscripten; bash tools/build-web.sh installs it)"
    exit 77
fi
{ [ -f build-web/CMakeCache.txt ] || cmake --preset web >/dev/null; } &&
    cmake --build --preset web -j2 || { echo "FAIL: building $src/build-web"; exit 1; }
