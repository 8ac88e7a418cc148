#!/usr/bin/env bash
# Builds the libFuzzer targets (build-fuzz, clang with AddressSanitizer and
# UndefinedBehaviorSanitizer), writes their seed corpora and runs each
# target for a bounded time. Exits non-zero when any target finds a fault;
# the input that found it is left in build-fuzz/findings/<target>/.
#
#   scripts/fuzz.sh              about 30 s per target
#   scripts/fuzz.sh 600          600 s per target (the long campaign)
#   FUZZ_SECONDS=600 FUZZ_TARGETS="art hues" scripts/fuzz.sh
#
# Needs clang and its sanitizer and fuzzer runtimes (Debian: clang,
# libclang-rt-14-dev); it installs nothing itself.
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD="$ROOT/build-fuzz"
SECONDS_PER_TARGET=${1:-${FUZZ_SECONDS:-30}}
TARGETS=${FUZZ_TARGETS:-tiledata art patches hues edits container journal textures animations check}

for tool in clang clang++ cmake; do
    if ! command -v "$tool" >/dev/null; then
        echo "fuzz.sh: $tool is missing (Debian packages: clang libclang-rt-14-dev cmake)" >&2
        exit 2
    fi
done

SANITIZE="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_FUZZ=ON \
        -DCMAKE_C_FLAGS="$SANITIZE -fsanitize=fuzzer-no-link" \
        -DCMAKE_CXX_FLAGS="$SANITIZE -fsanitize=fuzzer-no-link" \
        -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE" >/dev/null
fi
build_targets=(fuzz_seeds)
for t in $TARGETS; do build_targets+=("fuzz_$t"); done
cmake --build "$BUILD" -j"$(nproc)" --target "${build_targets[@]}" -- --no-print-directory -s

rm -rf "$BUILD/seeds"
"$BUILD/fuzz/fuzz_seeds" "$BUILD/seeds"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/tests/lsan.supp:print_suppressions=0}

failed=()
for t in $TARGETS; do
    corpus="$BUILD/corpus/$t"
    findings="$BUILD/findings/$t"
    log="$BUILD/logs/$t.log"
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    inputs=("$corpus" "$BUILD/seeds/$t")
    [ -d "$ROOT/fuzz/regressions/$t" ] && inputs+=("$ROOT/fuzz/regressions/$t")
    echo "== fuzz_$t for ${SECONDS_PER_TARGET} s"
    status=0
    "$BUILD/fuzz/fuzz_$t" "${inputs[@]}" \
        -max_total_time="$SECONDS_PER_TARGET" -timeout=60 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
    grep -E "^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)" "$log" || true
    grep -E "^#[0-9]+.*(DONE|cov:)" "$log" | tail -1 || true
    if [ "$status" -ne 0 ]; then
        echo "fuzz_$t found a fault (exit $status); see $log and $findings/" >&2
        grep -E "ERROR|SUMMARY|harness check failed|runtime error" "$log" | head -5 >&2 || true
        failed+=("$t")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}" >&2
    exit 1
fi
echo "fuzzing found no fault in: $TARGETS"
