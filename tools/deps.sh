# Sourced by the run scripts: makes sure the Debian packages named in $1.. are installed.
# As root it installs what is missing (apt-get update once, then apt-get install -y); otherwise
# it names the missing packages and stops.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" = 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null || {
            echo "Could not install: ${missing[*]}" >&2
            return 1
        }
    else
        echo "Please install these Debian packages first (as root): apt-get install ${missing[*]}" >&2
        return 1
    fi
}
BUILD_PACKAGES=(g++ cmake make pkg-config libsdl2-dev libpng-dev)
# What the quick test loop needs: GoogleTest, Google Benchmark (the native tree builds the benchmarks) and Python.
QUICK_PACKAGES=(googletest libgtest-dev libbenchmark-dev python3)
TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-apps x11-utils openbox imagemagick netpbm
               sox python3 ffmpeg dpkg-dev desktop-file-utils)
# The Windows program: the MinGW-w64 cross-compiler to build it, Wine to run it in the tests.
MINGW_PACKAGES=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 cmake make)
WINE_PACKAGES=(wine wine64 bsdutils)
# The show for web browsers: Emscripten (with node and Python) to build it; Chromium, Firefox and WebKit
# (with PulseAudio for their sound; WebKit under the Xvfb of the test packages) to test the page.
WEB_PACKAGES=(emscripten nodejs python3 cmake make)
BROWSER_PACKAGES=(chromium firefox-esr webkit2gtk-driver pulseaudio pulseaudio-utils)
# The fuzz targets: clang with its sanitizer and libFuzzer runtimes.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
