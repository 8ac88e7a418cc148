#!/usr/bin/env bash
# Instruction counts of every pair of a benchmark executable under callgrind:
# steadier than wall time on a busy machine, though blind to time spent
# waiting in the kernel (reads, fsync) and to cache misses. Pairs that time a
# fresh process (Cold...) are left out: their work happens in the child.
#
#   bench/callgrind-ratios.sh build/bench/bench_tiledata [iterations]
set -euo pipefail

bench=$1
iterations=${2:-3}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

count() {
    local name=$1 file="$out/$1.out"
    valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$file" \
        "$bench" --callgrind "$name" --iterations "$iterations" >/dev/null 2>&1
    local total
    total=$(sed -n 's/^summary: *//p; s/^totals: *//p' "$file" | head -n1)
    echo $((total / iterations))
}

printf '| Case | Baseline | Case (Ir) | Baseline (Ir) | Ratio | Goal |\n|---|---|---:|---:|---:|---|\n'
"$bench" --list-pairs 2>/dev/null | while IFS=$'\t' read -r case baseline goal title; do
    [[ $case == Cold* ]] && continue
    c=$(count "$case")
    b=$(count "$baseline")
    ratio=$(awk -v c="$c" -v b="$b" 'BEGIN { printf "%.2f", c / b }')
    if awk -v g="$goal" 'BEGIN { exit !(g > 0) }'; then goaltext="<= ${goal}x"; else goaltext="cost reported"; fi
    printf '| %s | %s | %s | %s | %s | %s |\n' "$title" "$baseline" "$c" "$b" "$ratio" "$goaltext"
done
