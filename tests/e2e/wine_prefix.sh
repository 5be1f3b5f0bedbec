#!/usr/bin/env bash
# Readies what the Wine tests (wine_*.sh) share: the native Windows executable, brought up to date
# (an explicit one, the cross-build tree of tools/build-windows.sh, or a fresh cross-build inside
# this build tree), and one new Wine prefix, BUILD_DIR/wine-prefix. CTest runs it first, as
# e2e.wine.prefix; e2e.wine.cleanup removes the prefix after the last Wine test.
# Usage: wine_prefix.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) when Wine, the desktop tools or any
# way to get the Windows executable are missing, or when Wine cannot start at all; the other Wine
# tests then find no prefix and skip too.
# VOXA_WINDOWS_EXE names an executable to test instead of building one.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
wine_start

# A new prefix every run: nothing left over from an earlier one.
wineserver -k > /dev/null 2>&1
rm -rf "$WINEPREFIX"

if [ -n "${VOXA_WINDOWS_EXE:-}" ]; then
    :
elif [ -f "$src/build-win/CMakeCache.txt" ]; then
    cmake --build "$src/build-win" -j2 > "$work/cross.log" 2>&1 || { cat "$work/cross.log"; fail "cross-build"; }
elif command -v x86_64-w64-mingw32-g++ >/dev/null; then
    { cmake -S "$src" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release &&
      cmake --build "$build/win" -j2; } > "$work/cross.log" 2>&1 || { cat "$work/cross.log"; fail "cross-build"; }
else
    skip "no Windows executable and no MinGW-w64 compiler (run tools/build-windows.sh)"
fi
[ -f "$exe" ] || fail "$exe was not built"

on_screen 200 <<'INNER'
# A new prefix takes a while the first time; without it Wine cannot run anything.
start=$(date +%s)
timeout 120 wineboot -i > "$work/wineboot.log" 2>&1
status=$?
wineserver -w
[ $status = 0 ] || { tail -n 20 "$work/wineboot.log"; skip "Wine cannot start here (wineboot status $status)"; }
echo "wine prefix ready in $(( $(date +%s) - start )) s"
INNER
status=$?
[ $status = 0 ] && { echo "PASS"; exit 0; }
rm -rf "$WINEPREFIX"
[ $status = 77 ] && exit 77
fail "making the Wine prefix (status $status)"
