#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quorvane, builds it, and then either runs
# the editor (run) or every test (test). Safe to run again: packages are
# installed only when missing and the build is incremental.
set -euo pipefail

cd "$(dirname "$0")/.."

PACKAGES=(
    cmake g++ make qt6-base-dev locales              # the editor and its tests
    xvfb xauth xdotool imagemagick                   # the real-window smoke test
    clang libclang-rt-14-dev                         # fuzzing
    libbenchmark-dev                                 # benchmarks
)

source scripts/packages.sh

# Builds quietly: the compiler's output is shown only when the build fails,
# and any warning is shown either way.
build() {
    [ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    if ! cmake --build build -j"$(nproc)" -- --no-print-directory -s >build/build.log 2>&1; then
        cat build/build.log
        return 1
    fi
    grep -i "warning" build/build.log || true
}

case "${1:-}" in
    run)
        install_missing "${PACKAGES[@]}"
        build
        # A demo set of the game's files, written once, so the editor has
        # something to open: the open-file dialog starts in this folder.
        [ -f build/demo/tiledata.mul ] || ./build/quorvane-demo build/demo
        cd build/demo
        exec ../quorvane
        ;;
    test)
        install_missing "${PACKAGES[@]}"
        build
        ctest --test-dir build --output-on-failure -j"$(nproc)"
        # The same suite again under AddressSanitizer and UBSan, then a
        # short run of every fuzz target.
        bash scripts/sanitize.sh
        bash scripts/fuzz.sh
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
