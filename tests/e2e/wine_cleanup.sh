#!/usr/bin/env bash
# Ends the wineserver of the prefix the Wine tests shared (BUILD_DIR/wine-prefix) and removes the
# prefix. CTest runs it after the last Wine test, as e2e.wine.cleanup.
# Usage: wine_cleanup.sh BUILD_DIR SOURCE_DIR
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
prefix=$(wine_prefix)
[ -e "$prefix" ] || { echo "no Wine prefix to remove"; exit 0; }
command -v wineserver > /dev/null && WINEPREFIX=$prefix wineserver -k > /dev/null 2>&1
rm -rf "$prefix"
[ ! -e "$prefix" ] || fail "$prefix is still there"
echo "removed $prefix"
