#!/usr/bin/env bash
# The native Windows program as a file and on the command line, under Wine inside Xvfb. The
# executable imports only system DLLs and carries the icon and version resources. Its command line:
# --help, --version and a bad option (statuses 0, 0, 2, the text on the console), a scale too large
# for the screen.
# Usage: wine_cli.sh BUILD_DIR SOURCE_DIR, after wine_prefix.sh (CTest runs it first). Exit 77
# (skipped) when Wine or the desktop tools are missing, or when wine_prefix.sh made no prefix.
# VOXA_WINDOWS_EXE names an executable to test instead of building one.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
wine_start
# No executable: skipped where e2e.wine.prefix could make none, else a failure.
[ -f "$exe" ] || need_prefix
version=$(sed -n 's/^project(VOXA7100 VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || fail "no project version in CMakeLists.txt"
export version

# Imports: only DLLs every Windows has; the newer ones (dwmapi, shcore) are looked up at run time.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
for dll in $imports; do
    case $dll in kernel32.dll|user32.dll|gdi32.dll|winmm.dll|msvcrt.dll) ;; *) fail "imports $dll ($imports)";; esac
done
echo "imports: $imports"
# Resources: the icon group named like the window class, holding every image of the project's
# .ico byte for byte, and the version information of the CMake project.
x86_64-w64-mingw32-windres -i "$exe" -O rc > "$work/resources.rc" 2>&1 || fail "windres cannot read the resources"
python3 - "$exe" "$src/src/app/icons/voxa7100.ico" "$work/resources.rc" "$version" <<'PY' || fail "resources"
import re, struct, sys
exe, ico, rc, version = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read(), open(sys.argv[3]).read(), sys.argv[4]
count = struct.unpack_from('<HHH', ico)[2]
images = [ico[o:o + n] for n, o in (struct.unpack_from('<II', ico, 6 + 16 * i + 8) for i in range(count))]
group = re.search(r'"VOXA7100" 14 /\* RT_GROUP_ICON \*/\s*BEGIN\s*0, 1, (\d+),', rc)
if not group or int(group.group(1)) != count:
    print('no icon group VOXA7100 of', count, 'images'); sys.exit(1)
missing = [i for i, image in enumerate(images) if exe.find(image) < 0]
if missing:
    print('icon images not in the executable:', missing); sys.exit(1)
numbers = ', '.join((version.split('.') + ['0'] * 4)[:4])
for want in ('FILEVERSION ' + numbers, 'VALUE "FileVersion", "%s"' % version, 'VALUE "ProductVersion", "%s"' % version):
    if want not in rc:
        print('version resource lacks', want); sys.exit(1)
print('resources: icon group of %d images, version %s' % (count, version))
PY

need_prefix
on_screen 120 <<'INNER' || exit 1
# The command line. --version in a terminal (a pty): the text reaches the console.
script -qec "wine '$exe' --version" /dev/null > "$work/version.txt" 2>&1
status=$?
[ $status = 0 ] && grep -q "voxa7100 $version" "$work/version.txt" || { cat "$work/version.txt"; fail "--version: status $status"; }
wine "$exe" --help > "$work/help.txt" 2> "$work/help.err"
status=$?
[ $status = 0 ] && grep -q '^usage: voxa7100' "$work/help.txt" && grep -q 'F11, Alt+Enter' "$work/help.txt" &&
    grep -q 'P             pause / resume' "$work/help.txt" || { cat "$work/help.txt"; fail "--help: status $status"; }
wine "$exe" --bogus > "$work/bad.out" 2> "$work/bad.err"
status=$?
[ $status = 2 ] && [ ! -s "$work/bad.out" ] && grep -q "unknown argument '--bogus'" "$work/bad.err" &&
    grep -q '^usage: voxa7100' "$work/bad.err" || { cat "$work/bad.err"; fail "a bad option: status $status"; }
wine "$exe" --scale 3 > "$work/big.out" 2> "$work/big.err"
status=$?
[ $status = 2 ] && grep -q 'scale 3 does not fit the screen' "$work/big.err" || { cat "$work/big.err"; fail "--scale 3 on 1024x768: status $status"; }
echo "command line: --version, --help 0; a bad option 2; --scale 3 on 1024x768 refused with 2: $(head -n 1 "$work/big.err")"
wineserver -k
INNER
echo "PASS"
