#!/usr/bin/env bash
# Start-up time of the Windows build under wine: from launch to a filled
# main window, against the bare Qt program of bench/barestart, cross-built
# the same way, that shows the same open-file dialog and a 16,383-line list.
# Both run in turn on one Xvfb, with the wineserver kept warm; a first round
# is thrown away. The time the dialog waits for its answer is left out:
#   start-up = launch..dialog shown + answer..main window shown
#
# usage: wine-startup.sh BUILD-WIN [ROUNDS]      (default 7 rounds)
set -euo pipefail

build=$(cd "$1" && pwd)
rounds=${2:-7}
wine_run=$build/wine-run.sh

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    "$wine_run" --stop
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "wine-startup: $*" >&2; exit 1; }
source "$(dirname "$0")/../tests/smoke/steps.sh"

"$wine_run" --stop
start_xvfb

"$wine_run" "$build/quorvane-demo.exe" "$work/demo"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

wait_visible() { # title; prints the window
    local window=""
    for _ in $(seq 3000); do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.02
    done
    echo "window \"$1\" never appeared" >&2
    return 1
}

one_start() { # program, main window title; prints milliseconds
    local start shown answered filled dialog window pid
    start=$(now_ms)
    (cd "$work/demo" && exec "$wine_run" "$1") >/dev/null 2>&1 &
    pid=$!
    dialog=$(wait_visible '^Choose Tiledata$')
    shown=$(now_ms)
    xdotool mousemove --window "$dialog" 20 20
    sleep 0.3
    answered=$(now_ms)
    xdotool key --clearmodifiers Return
    window=$(wait_visible "$2")
    filled=$(now_ms)
    xdotool mousemove --window "$window" 20 20 key --clearmodifiers alt+F4
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo $((shown - start + filled - answered))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

one_start "$build/quorvane.exe" '(^| - )Quorvane$' >/dev/null
one_start "$build/bench/barestart/barestart.exe" '^Bare Start$' >/dev/null
for _ in $(seq "$rounds"); do
    one_start "$build/quorvane.exe" '(^| - )Quorvane$' >>"$work/quorvane.ms"
    one_start "$build/bench/barestart/barestart.exe" '^Bare Start$' >>"$work/bare.ms"
done

editor=$(median <"$work/quorvane.ms")
bare=$(median <"$work/bare.ms")
echo "start-up under wine, median of $rounds rounds:"
echo "  bare Qt program  $bare ms   ($(tr '\n' ' ' <"$work/bare.ms"))"
echo "  quorvane         $editor ms   ($(tr '\n' ' ' <"$work/quorvane.ms"))"
awk -v e="$editor" -v b="$bare" 'BEGIN { printf "  ratio            %.2fx (goal at most 1.50x)\n", e / b }'
