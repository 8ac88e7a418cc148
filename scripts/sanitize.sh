#!/usr/bin/env bash
# A second build of everything (build-asan) with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the whole test suite on it. Any report,
# a leak included, fails the test it comes from. The only suppressions are
# Qt's own leaks, listed in tests/lsan.supp.
#
# Needs g++ with libasan and libubsan (Debian: g++); installs nothing itself.
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD="$ROOT/build-asan"

SANITIZE="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_FLAGS="$SANITIZE" -DCMAKE_CXX_FLAGS="$SANITIZE" \
        -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE" -DCMAKE_SHARED_LINKER_FLAGS="$SANITIZE" >/dev/null
fi
cmake --build "$BUILD" -j"$(nproc)" -- --no-print-directory -s

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/tests/lsan.supp:print_suppressions=0}
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" "$@"
