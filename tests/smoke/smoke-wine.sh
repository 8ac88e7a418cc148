#!/usr/bin/env bash
# The Windows build's zip, unpacked and started under wine in a real X window
# under Xvfb, worked with synthetic mouse and keyboard input as a user would:
# start it on a file, as "Open with" does, check that it opens straight into
# the main window and shows a raw and a run-length picture, rename a tile,
# save, close, and check the file and the session log.
# The program runs with only the DLLs the zip holds, so a missing one fails
# the test. Without a window manager keyboard focus follows the pointer, so
# the pointer is moved into a window before keys are sent to it.
#
# usage: smoke-wine.sh WINE-RUN ZIP DEMO-GENERATOR.exe
set -euo pipefail

wine_run=$1
zip=$2
generator=$3

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    "$wine_run" --stop
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -n "${SMOKE_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "SMOKE FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/steps.sh"

# Wine processes of earlier tests may hold another display.
"$wine_run" --stop

start_xvfb

(cd "$work" && cmake -E tar xf "$zip")
program=$(find "$work" -maxdepth 2 -name quorvane.exe | head -n 1)
[ -n "$program" ] || fail "no quorvane.exe in $zip"
"$wine_run" "$generator" "$work/demo"
cp "$work/demo/tiledata.mul" "$work/original.mul"
"$wine_run" "$generator" --picture "$tile" "$work/expected-$tile.png"
"$wine_run" "$generator" --picture "$floor" "$work/expected-$floor.png"

point_into() { # window
    xdotool mousemove --window "$1" 20 20
    sleep 0.3
}

# Started as "Open with" starts it: on the file's Windows path, from
# another folder. The art is found beside the file.
file="Z:$(tr / '\\' <<<"$work/demo/tiledata.mul")"
(cd "$work" && exec "$wine_run" --bare "$program" "$file") >"$work/app.log" 2>&1 &
app_pid=$!

main_window_without_dialog
sleep 1
point_into "$window"

check_picture "$floor"
check_picture "$tile"

rename_save_close
check_saved_file
check_session_log "$program.log"

echo "wine smoke test passed: zip, file argument, pictures, rename, save, close, session log"
