#!/usr/bin/env bash
# The Windows build's zip, unpacked and started under wine in a real X window
# under Xvfb, worked with synthetic mouse and keyboard input as a user would:
# start it on a file, as "Open with" does, check that it opens straight into
# the main window and shows a raw and a run-length picture, rename a tile,
# save, close, and check the file and the session log. Then, in a folder
# named with letters outside ASCII and outside any ANSI code page: Save As,
# the tool's apply, Reload, Save and Open.
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

# The screen at a failure is kept as failure.png (see SMOKE_KEEP).
fail() {
    import -window root "$work/failure.png" 2>/dev/null || true
    echo "SMOKE FAIL: $*" >&2
    exit 1
}
source "$(dirname "$0")/steps.sh"

# Wine reads Linux file names in the locale's character set.
export LC_ALL=C.UTF-8

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

# The editor started in the folder, on the file's name alone, makes the
# path itself from the folder that Windows reports.
folder="$work/Spiele Tools ä/Ωμέγα"
mkdir -p "$folder"
cp "$work"/demo/*.mul "$folder"
cp "$work/original.mul" "$folder/tiledata.mul"
{ ls "$folder"; echo edits.tsv; echo kopie.mul; } | sort >"$work/kept"
(cd "$folder" && exec "$wine_run" --bare "$program" tiledata.mul) >"$work/app.log" 2>&1 &
app_pid=$!
main_window_without_dialog
sleep 1
point_into "$window"

rename_tile "$tile" "$new_name"
xdotool key --clearmodifiers ctrl+shift+s
in_dialog '^Save Tiledata As$' kopie.mul
expect_title kopie.mul
named_copy "$work/original.mul" "$tile" "$new_name" >"$work/expected.mul"
cmp "$work/expected.mul" "$folder/kopie.mul" || fail "Save As did not write the copy with the edit"
cmp "$work/original.mul" "$folder/tiledata.mul" || fail "Save As changed the file it copied"

printf 'index\tname\n0x3\ttool name\n' >"$folder/edits.tsv"
(cd "$folder" && "$wine_run" --bare "$(dirname "$program")/quorvane-tool.exe" apply kopie.mul edits.tsv) ||
    fail "the tool's apply failed"
named_copy "$work/expected.mul" 3 "tool name" >"$work/applied.mul"
cmp "$work/applied.mul" "$folder/kopie.mul" || fail "the tool did not apply the edit"

# Reloaded, the editor holds the tool's edit: the next save neither asks
# about the other program's change nor undoes it.
xdotool key --clearmodifiers alt+f r
sleep 1
rename_tile "$tile" "after reload"
xdotool key --clearmodifiers ctrl+s
sleep 1
[ -z "$(xdotool search --onlyvisible --name '^Quorvane$' 2>/dev/null)" ] || fail "a question or error after Reload and Save"
named_copy "$work/applied.mul" "$tile" "after reload" >"$work/expected.mul"
cmp "$work/expected.mul" "$folder/kopie.mul" || fail "Reload and Save did not keep both edits"

# The open dialog starts in the editor's current folder.
xdotool key --clearmodifiers ctrl+o
in_dialog '^Choose Tiledata$' tiledata.mul
expect_title tiledata.mul
# A click into the list first: the window takes the Close button's click
# only once it is active again after the dialog.
xdotool mousemove --window "$window" 40 $((list_top + 6)) click 1
sleep 0.5
close_editor
left=$(ls "$folder" | sort | comm -13 "$work/kept" -)
[ -z "$left" ] || fail "files left in the folder: $left"

echo "wine smoke test passed: zip, file argument, pictures, rename, save, close, session log;" \
     "Save As, apply, Reload, Save and Open in a folder outside the code page"
