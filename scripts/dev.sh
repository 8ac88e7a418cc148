#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quorvane, builds it, and then either runs
# the editor (run), runs every test (test), or builds the Windows zip
# (windows). Safe to run again: packages are installed only when missing and
# the builds are incremental. The tests end with the Windows leg;
# QUORVANE_SKIP_WINDOWS=1 leaves it out for a quick local run.
set -euo pipefail

cd "$(dirname "$0")/.."

PACKAGES=(
    cmake g++ make qt6-base-dev locales              # the editor and its tests
    zlib1g-dev                                       # packed art of newer clients
    xdg-utils                                        # the desktop entry's test
    xvfb xauth xdotool imagemagick                   # the real-window smoke test
    clang libclang-rt-14-dev                         # fuzzing
    libbenchmark-dev                                 # benchmarks
)
WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix   # the Windows build
    libz-mingw-w64-dev                                      # its zlib, linked statically
    wine wine64 fonts-wine                                  # its tests
    xvfb xauth xdotool imagemagick
)

source scripts/packages.sh

# Builds quietly: the compiler's output is shown only when the build fails,
# and any warning is shown either way.
build() { # folder, configure settings...
    local dir=$1
    shift
    [ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" "$@" >/dev/null
    if ! cmake --build "$dir" -j"$(nproc)" -- --no-print-directory -s >"$dir/build.log" 2>&1; then
        cat "$dir/build.log"
        return 1
    fi
    grep -i "warning" "$dir/build.log" || true
}

# The Windows build in build-win/, against a Qt for Windows that is built
# once into a cache folder (scripts/windows-qt.sh), with the zip.
build_windows() {
    install_missing "${WINDOWS_PACKAGES[@]}"
    local qt
    qt=$(bash scripts/windows-qt.sh)
    build build-win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_PREFIX_PATH="$qt"
}

# The Windows suite under wine, with one X server for the whole run, and
# the wineserver stopped at the end whatever the outcome.
test_windows() {
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c \
        'build-win/wine-run.sh --start; ctest --test-dir build-win --output-on-failure -j"$(nproc)"; status=$?; build-win/wine-run.sh --stop; exit $status'
}

case "${1:-}" in
    run)
        install_missing "${PACKAGES[@]}"
        build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
        # A demo set of the game's files, written once, so the editor has
        # something to open: the open-file dialog starts in this folder. The
        # folder is the build's own, so a set left incomplete is rewritten.
        [ -f build/demo/tiledata.mul ] || ./build/quorvane-demo --force build/demo
        cd build/demo
        exec ../quorvane
        ;;
    test)
        install_missing "${PACKAGES[@]}"
        build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
        ctest --test-dir build --output-on-failure -j"$(nproc)"
        # The same suite again under AddressSanitizer and UBSan, then a
        # short run of every fuzz target.
        bash scripts/sanitize.sh
        bash scripts/fuzz.sh
        # The Windows build and its suite under wine. The first run builds
        # Qt for Windows too.
        if [ -z "${QUORVANE_SKIP_WINDOWS:-}" ]; then
            build_windows
            test_windows
        fi
        ;;
    windows)
        build_windows
        ls build-win/quorvane-*-win64.zip
        ;;
    *)
        echo "usage: $0 run|test|windows" >&2
        exit 2
        ;;
esac
