#!/usr/bin/env bash
# Cross-builds the native Windows program, build-win/voxa7100.exe, with MinGW-w64: one static
# GUI executable that needs only the system's own DLLs. Installs the missing Debian packages
# when run as root (otherwise names them). Extra arguments go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages "${MINGW_PACKAGES[@]}"
cmake --preset windows "$@" >/dev/null
cmake --build --preset windows -j"$(nproc)"
echo "Built build-win/voxa7100.exe"
