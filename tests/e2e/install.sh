#!/usr/bin/env bash
# Installing as a person would: cmake --install into a staging folder puts the programs, the desktop
# entry and the icons where desktops look (and nothing else); the installed program, started by its
# entry's Exec line under Xvfb, opens its window and ends on ESC with status 0; cpack makes a Debian
# package of the same files.
# Usage: install.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) when a tool it needs is missing.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
e2e_start "$@"
need xvfb-run Xvfb xdotool identify cpack dpkg-deb dpkg-shlibdeps desktop-file-validate
need_built voxa7100

# What an installation holds, below its prefix: one icon for each size the asset tools made.
expected() {
    printf '%s\n' bin/voxa7100 bin/voxa7100-record share/applications/voxa7100.desktop
    for icon in "$src"/src/app/icons/voxa7100-*.png; do
        size=${icon##*-}
        size=${size%.png}
        echo "share/icons/hicolor/${size}x${size}/apps/voxa7100.png"
    done
}
expected | sort > "$work/expected"
[ "$(wc -l < "$work/expected")" -ge 6 ] || fail "too few icons in src/app/icons"

stage="$work/stage"
cmake --install "$build" --prefix "$stage" > "$work/install.log" 2>&1 || fail "cmake --install: $(tail -3 "$work/install.log")"
(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | sort) > "$work/installed"
diff "$work/expected" "$work/installed" > "$work/diff" || fail "installed files differ: $(cat "$work/diff")"
while read -r file; do
    case $file in
    share/icons/*)
        size=$(echo "$file" | sed 's|.*/\([0-9]*\)x[0-9]*/apps/.*|\1|')
        [ "$(identify -format '%w %h' "$stage/$file")" = "$size $size" ] || fail "$file is not ${size}x${size}";;
    esac
done < "$work/expected"

entry="$stage/share/applications/voxa7100.desktop"
desktop-file-validate "$entry" > "$work/validate" 2>&1 && [ ! -s "$work/validate" ] ||
    fail "the desktop entry does not validate: $(cat "$work/validate")"
for line in Name=VOXA7100 Exec=voxa7100 Icon=voxa7100 Type=Application; do
    grep -qx "$line" "$entry" || fail "the desktop entry lacks $line"
done
grep -q '^Comment=.' "$entry" && grep -q '^Categories=.' "$entry" || fail "the desktop entry lacks a comment or categories"

# The installed recorder runs on its own and shows the same show.
"$stage/bin/voxa7100-record" --frames 100 --hash > "$work/hash.installed" || fail "the installed recorder failed"
"$build/voxa7100-record" --frames 100 --hash > "$work/hash.build" || fail "the recorder failed"
cmp -s "$work/hash.installed" "$work/hash.build" || fail "the installed recorder shows another show"

# The installed desktop program, started as the desktop would: the entry's Exec line with the
# installation's bin on PATH, from another folder.
exec_line=$(sed -n 's/^Exec=//p' "$entry")
export exec_line stage
on_screen <<'INNER' || exit 1
export SDL_AUDIODRIVER=dummy PATH="$stage/bin:$PATH"
cd "$work"
[ "$(command -v $exec_line)" = "$stage/bin/voxa7100" ] || fail "Exec=$exec_line does not start the installed program"
$exec_line 2> "$work/run.err" &
pid=$!
w=$(find_window) || fail "the installed program opened no window titled VOXA7100"
xdotool key --window "$w" Escape
wait $pid
status=$?
[ $status = 0 ] || fail "ESC ended the installed program with status $status: $(cat "$work/run.err")"
INNER

# The Debian package: named and versioned as the program says, the libraries it needs, the same files.
version=$("$build/voxa7100" --version | sed -n 's/^voxa7100 //p')
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" > "$work/cpack.log" 2>&1 ||
    fail "cpack: $(tail -3 "$work/cpack.log")"
deb="$work/deb/voxa7100_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package $(basename "$deb"): $(ls "$work/deb")"
[ "$(dpkg-deb -f "$deb" Package)" = voxa7100 ] && [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
    fail "package name or version: $(dpkg-deb -f "$deb" Package Version)"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] && [ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no maintainer or description"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libsdl2-2.0-0 libpng16-16; do
    echo "$depends" | grep -q "\\b$package\\b" || fail "the package does not depend on $package: $depends"
done
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||' | sort > "$work/packaged"
diff "$work/expected" "$work/packaged" > "$work/diff" || fail "packaged files differ: $(cat "$work/diff")"
echo "install: $(wc -l < "$work/installed") files installed and packaged ($(stat -c %s "$deb") bytes), Depends: $depends"
echo "PASS"
