#!/usr/bin/env bash
# Builds the show for web browsers with Emscripten: build-web/voxa7100.html, one self-contained page
# (the program's WebAssembly inside it), and build-web/voxa7100-record.js, the recorder for Node.
# Installs the missing Debian packages when run as root (otherwise names them). Extra arguments go
# to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages "${WEB_PACKAGES[@]}"
# The preset carries Emscripten's toolchain and the node modules its JavaScript tools need.
cmake --preset web "$@" >/dev/null
cmake --build --preset web -j"$(nproc)"
echo "Built build-web/voxa7100.html ($(stat -c %s build-web/voxa7100.html) bytes) and build-web/voxa7100-record.js"
