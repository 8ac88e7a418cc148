#!/usr/bin/env bash
# Starts the built editor in a real X window under Xvfb, as a user would,
# and works it with synthetic mouse and keyboard input: start it on a file,
# select a tile with a picture, check the picture on screen, rename the
# tile, save with the "&Save" accelerator, close, and check the file and the
# session log; then start it without a file and answer the open-file
# dialog, and on a missing file. The program has no test hooks.
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

press_return_in() { # title, what it is
    local modal
    modal=$(find_window "$1" 30) || true
    [ -n "$modal" ] || fail "$2 never appeared ($(cat "$work/app.log"))"
    xdotool windowfocus --sync "$modal"
    sleep 0.5
    xdotool key --clearmodifiers Return
}

# "quorvane FILE", started from another folder: straight into the main
# window, with the pictures from the art beside the file.
(cd "$work" && exec "$work/bin/quorvane" "$work/demo/tiledata.mul") >"$work/app.log" 2>&1 &
app_pid=$!
main_window_without_dialog
xdotool windowfocus --sync "$window"
sleep 1

check_picture "$floor"
check_picture "$tile"

rename_save_close
check_saved_file
check_session_log "$work/bin/quorvane.log"

# Without a file, the open-file dialog comes first.
(cd "$work/demo" && exec "$work/bin/quorvane") >"$work/app.log" 2>&1 &
app_pid=$!
press_return_in '^Choose Tiledata$' "the open-file dialog"
window=$(find_window '(^| - )Quorvane$' 30) || true
[ -n "$window" ] || fail "the main window never appeared"
check_picture "$tile"
close_editor

# A missing file: the open error box, then the empty main window.
(cd "$work" && exec "$work/bin/quorvane" missing.mul) >"$work/app.log" 2>&1 &
app_pid=$!
press_return_in '^quorvane$' "the error box"
main_window_without_dialog
close_editor

echo "smoke test passed: file argument, picture, rename, save, close, session log, dialog, missing file"
