#!/usr/bin/env bash
# Start-up as a user meets it, timed from outside: a fresh editor process
# shows the open-file dialog, takes Return, and shows its filled window.
# Beside it, in the same run and on the same private X server (Xvfb), the
# bare Qt program of bench/barestart shows the same dialog and then a list
# of 16,383 lines. Runs alternate between the two after a first round that
# is thrown away; the table gives medians.
#
#   bench/startup-processes.sh [--newer] [--without-links] [--against OTHER-BUILD] [BUILD-FOLDER] [RUNS]
#                                                             defaults: build, 9
#
# With --newer the editor opens a newer-layout demo file of 65,536 tiles,
# and the bare program lists 65,536 lines through a model, the faster of
# the two ways a Qt list can hold that many.
#
# With --without-links the demo folder has no texidx.mul, texmaps.mul or
# animdata.mul, as the folders of older clients and other tools do not.
#
# With --against, the editor of another build folder (an older commit's,
# say; only its quorvane target is needed) runs in the same rounds on the
# same demo files, and the table adds its column and the ratio of this
# editor to that one.
#
# Needs Xvfb and xdotool (installed by scripts/dev.sh) and a build with the
# targets quorvane, quorvane-demo and barestart.
set -euo pipefail

demo_option=()
baseline_options=()
other=""
without_links=""
while [ $# -gt 0 ]; do
    case "$1" in
    --newer)
        demo_option=(--newer)
        baseline_options=(--model 65536)
        shift
        ;;
    --without-links)
        without_links=yes
        shift
        ;;
    --against)
        [ $# -ge 2 ] || { echo "startup-processes.sh: --against needs a build folder" >&2; exit 2; }
        other=$(cd "$2" && pwd)
        shift 2
        ;;
    *) break ;;
    esac
done
build=$(cd "${1:-build}" && pwd)
runs=${2:-9}
editor=$build/quorvane
baseline=$build/bench/barestart/barestart
for program in "$editor" "$build/quorvane-demo" "$baseline" ${other:+"$other/quorvane"}; do
    [ -x "$program" ] || { echo "startup-processes.sh: $program is missing; build it first" >&2; exit 2; }
done
[ "$runs" -ge 1 ] 2>/dev/null || { echo "startup-processes.sh: RUNS must be a positive number" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "startup-processes.sh: $*" >&2; exit 1; }

# Both programs open the dialog in a folder of demo files. The editor writes
# its session log beside its executable, so it runs from a copy.
"$build/quorvane-demo" "${demo_option[@]}" "$work/demo" >/dev/null
[ -z "$without_links" ] || rm -f "$work/demo/texidx.mul" "$work/demo/texmaps.mul" "$work/demo/animdata.mul"
mkdir "$work/bin"
cp "$editor" "$work/bin/quorvane"
if [ -n "$other" ]; then
    mkdir "$work/other"
    cp "$other/quorvane" "$work/other/quorvane"
fi

# A display number of its own, far from the low ones that other X servers
# on a shared machine take first: programs that reached another server
# would be timed there, or not start at all.
exec 5> "$work/display"
Xvfb ":$((100 + RANDOM % 800))" -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR

now_us() { echo $(( $(date +%s%N) / 1000 )); }

# Polls for a mapped window by title and sets $found; xdotool's own --sync
# waits half a second between looks, far coarser than what is measured.
# Returns 1 when the program exits first; fails after 30 s.
wait_visible() { # title-regex
    local deadline=$(( $(date +%s) + 30 ))
    found=""
    while [ "$(date +%s)" -lt "$deadline" ]; do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$found" ] && return 0
        kill -0 "$app_pid" 2>/dev/null || return 1
        sleep 0.01
    done
    fail "no window \"$1\" within 30 s"
}

# One run; appends "WHO launch-to-dialog-ms return-to-window-ms rss-kib" to
# the results. On this shared machine a program now and then cannot connect
# to the X server at all; such a start is tried again, up to three times.
run_once() { # who program window-title-regex [program arguments...]
    local start dialog_at pressed shown rss attempt
    for attempt in 1 2 3; do
        start=$(now_us)
        (cd "$work/demo" && exec "$2" "${@:4}") >"$work/app.log" 2>&1 &
        app_pid=$!
        wait_visible '^Choose Tiledata$' && break
        wait "$app_pid" 2>/dev/null || true
        [ "$attempt" -lt 3 ] || fail "the program exited before its dialog appeared: $(cat "$work/app.log")"
        echo "a start failed and is tried again: $(head -n 1 "$work/app.log")" >&2
    done
    dialog_at=$(now_us)
    # Let the dialog settle and take the focus, as a user's first key would.
    xdotool windowfocus --sync "$found"
    sleep 0.5
    pressed=$(now_us)
    xdotool key --clearmodifiers Return
    wait_visible "$3" || fail "the program exited before its window appeared: $(cat "$work/app.log")"
    shown=$(now_us)
    sleep 1
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status")
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    echo "$1 $(( (dialog_at - start) / 1000 )) $(( (shown - pressed) / 1000 )) $rss" >>"$work/results"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A first round, thrown away, brings both programs' libraries into memory.
run_once warm-up "$work/bin/quorvane" '(^| - )Quorvane$'
run_once warm-up "$baseline" '^Bare Start$' "${baseline_options[@]}"
[ -z "$other" ] || run_once warm-up "$work/other/quorvane" '(^| - )Quorvane$'
for run in $(seq "$runs"); do
    run_once editor "$work/bin/quorvane" '(^| - )Quorvane$'
    [ -z "$other" ] || run_once other "$work/other/quorvane" '(^| - )Quorvane$'
    run_once baseline "$baseline" '^Bare Start$' "${baseline_options[@]}"
    echo "run $run of $runs done" >&2
done

column_median() { # who column
    awk -v who="$1" -v col="$2" '$1 == who { print $(col + 1) }' "$work/results" | median
}

echo "Medians of $runs runs each, fresh processes under Xvfb:"
[ -z "$other" ] || echo "(the other editor: $other)"
echo
if [ -n "$other" ]; then
    echo "| Measure | Quorvane | Other editor | Bare Qt program | Ratio to bare | Ratio to other |"
    echo "|---|---:|---:|---:|---:|---:|"
else
    echo "| Measure | Quorvane | Bare Qt program | Ratio |"
    echo "|---|---:|---:|---:|"
fi
in_mib() { awk -v v="$1" 'BEGIN { printf "%.1f", v / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
for measure in "1 launch to dialog visible (ms)" "2 Return to main window visible (ms)" "3 RSS after opening (MiB)"; do
    col=${measure%% *}
    label=${measure#* }
    e=$(column_median editor "$col")
    b=$(column_median baseline "$col")
    [ -z "$other" ] || o=$(column_median other "$col")
    if [ "$col" = 3 ]; then
        e=$(in_mib "$e")
        b=$(in_mib "$b")
        [ -z "$other" ] || o=$(in_mib "$o")
    fi
    if [ -n "$other" ]; then
        echo "| $label | $e | $o | $b | $(ratio "$e" "$b")× | $(ratio "$e" "$o")× |"
    else
        echo "| $label | $e | $b | $(ratio "$e" "$b")× |"
    fi
done
echo
echo "Every run (launch to dialog ms, Return to window ms, RSS KiB):"
awk '{ runs[$1] = runs[$1] sprintf(" %s/%s/%s", $2, $3, $4) }
     END { print "  Quorvane:" runs["editor"]; if ("other" in runs) print "  other:   " runs["other"]; print "  bare Qt: " runs["baseline"] }' "$work/results"
