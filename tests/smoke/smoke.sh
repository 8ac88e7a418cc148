#!/usr/bin/env bash
# Starts the built editor in a real X window under Xvfb, as a user would,
# and works it with synthetic mouse and keyboard input: answer the open-file
# dialog, select a tile with a picture, check the picture on screen, rename
# the tile, save with the "&Save" accelerator, close, and check the file and
# the session log. The program has no test hooks.
#
# usage: smoke.sh QUORVANE DEMO-GENERATOR
set -euo pipefail

program=$1
generator=$2

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -n "${SMOKE_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "SMOKE FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/steps.sh"

# The log is written beside the executable: run a copy in the scratch folder.
mkdir -p "$work/bin"
cp "$program" "$work/bin/quorvane"
"$generator" "$work/demo"
cp "$work/demo/tiledata.mul" "$work/original.mul"
"$generator" --picture "$tile" "$work/expected-$tile.png"
"$generator" --picture "$floor" "$work/expected-$floor.png"

start_xvfb
export QT_QPA_PLATFORM=xcb

(cd "$work/demo" && exec "$work/bin/quorvane") >"$work/app.log" 2>&1 &
app_pid=$!


dialog=$(find_window '^Choose Tiledata$' 30) || true
[ -n "$dialog" ] || fail "the open-file dialog never appeared ($(cat "$work/app.log"))"
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool key --clearmodifiers Return

window=$(find_window '^Quorvane$' 30) || true
[ -n "$window" ] || fail "the main window never appeared"
xdotool windowfocus --sync "$window"
sleep 1

check_picture "$floor"
check_picture "$tile"

rename_save_close
check_saved_file
check_session_log "$work/bin/quorvane.log"

echo "smoke test passed: dialog, picture, rename, save, close, session log"
