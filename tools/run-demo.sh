#!/usr/bin/env bash
# Sets up (installs missing Debian packages when run as root), builds, and starts the show; its
# arguments go to the program (bash tools/run-demo.sh --scale 2, --fullscreen, --help...).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target voxa7100
exec ./build/voxa7100 "$@"
