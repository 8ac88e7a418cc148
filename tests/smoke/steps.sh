# Steps shared by the real-window smoke tests, sourced by them. They expect
# $work (the scratch folder), $window (the main window), $app_pid and a
# fail function; start_xvfb needs only $work and fail.

tile=2                       # a named tile with a run-length picture
floor=20                     # one with a raw diamond
name_field=$((428036 + 17))  # tile 0's name; records of the first 32 tiles follow at 37 bytes
new_name="smoke test"
# The form stands below the menu bar (18 pixels with the 8-point face), and
# the list below the section tabs (25 pixels) and the filter bar's two rows
# (44): the name box and Flags, then the switches.
form_top=18
list_top=$((form_top + 25 + 44))

# A private X server on a display it picks itself; sets xvfb_pid and DISPLAY.
start_xvfb() {
    exec 5> "$work/display"
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
}

find_window() { # title, seconds
    timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Line k of the tile list is tile k; lines are 13 pixels high. The picture
# control sits at (225, 193) in the form.
check_picture() { # tile
    xdotool mousemove --window "$window" 40 $((list_top + $1 * 13 + 6)) click 1
    sleep 1
    import -window "$window" "$work/window-$1.png"
    local size differing
    size=$(identify -format '%wx%h' "$work/expected-$1.png")
    convert "$work/window-$1.png" -crop "${size}+225+$((193 + form_top))" +repage "$work/shown-$1.png"
    differing=$(compare -metric AE -fuzz 4% "$work/shown-$1.png" "$work/expected-$1.png" null: 2>&1 || true)
    [ "$differing" = "0" ] || fail "the picture area does not show tile $1 ($differing pixels differ)"
}

# Click into the rename box (Alt+T is shared with a flag box); Enter
# renames; Alt+S saves; the Close button closes.
rename_save_close() {
    xdotool mousemove --window "$window" 380 $((35 + form_top)) click 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$new_name"
    xdotool key --clearmodifiers Return
    sleep 0.5
    xdotool key --clearmodifiers alt+s
    sleep 1
    close_editor
}

# Selects the tile's line and renames it.
rename_tile() { # tile, name
    xdotool mousemove --window "$window" 40 $((list_top + $1 * 13 + 6)) click 1
    sleep 0.5
    xdotool mousemove --window "$window" 380 $((35 + form_top)) click 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$2"
    xdotool key --clearmodifiers Return
    sleep 0.5
}

# A file dialog: its name box takes the file name, Enter accepts. Under
# wine an Enter sent right after the typing may arrive before the dialog
# has taken the name in, so it is sent again while the dialog stays.
in_dialog() { # title, file name
    local dialog
    dialog=$(find_window "$1" 20) || true
    [ -n "$dialog" ] || fail "no dialog \"$1\""
    xdotool mousemove --window "$dialog" 20 20
    sleep 0.3
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$2"
    for _ in 1 2 3; do
        sleep 0.5
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || break
        xdotool key --clearmodifiers Return
    done
    sleep 1
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && fail "the dialog \"$1\" took no file"
    xdotool mousemove --window "$window" 20 20
    sleep 0.3
}

expect_title() { # file name
    local title
    title=$(xdotool getwindowname "$window")
    [ "$title" = "$1 - Quorvane" ] || fail "the window is titled \"$title\", not after $1"
}

# The file on standard output with the tile's 20-byte name field set.
named_copy() { # file, tile, name
    local copy
    copy=$(mktemp)
    cp "$1" "$copy"
    { printf '%s' "$3"; head -c $((20 - ${#3})) /dev/zero; } |
        dd of="$copy" bs=1 seek=$((name_field + 37 * $2)) conv=notrunc status=none
    cat "$copy"
    rm -f "$copy"
}

# The Close button; the editor must end, without an error.
close_editor() {
    xdotool mousemove --window "$window" 660 $((500 + form_top)) click 1
    for _ in $(seq 200); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$app_pid" 2>/dev/null; then fail "the editor did not close"; fi
    wait "$app_pid" || fail "the editor exited with an error"
    app_pid=""
}

# Started on a file, the editor opens straight into its main window.
main_window_without_dialog() {
    window=$(find_window '(^| - )Quorvane$' 60) || true
    [ -n "$window" ] || fail "the main window never appeared ($(cat "$work/app.log"))"
    [ -z "$(xdotool search --onlyvisible --name '^Choose Tiledata$' 2>/dev/null)" ] ||
        fail "the open-file dialog appeared for a file named on the command line"
}

# The file is the original with only the renamed tile's name field changed.
check_saved_file() {
    named_copy "$work/original.mul" "$tile" "$new_name" >"$work/expected.mul"
    cmp "$work/expected.mul" "$work/demo/tiledata.mul" || fail "the saved file is not the original with the new name"
}

# One session line, in the user's time format, ended by CR LF.
check_session_log() { # log
    [ -f "$1" ] || fail "no session log beside the executable"
    [ "$(wc -l <"$1")" -eq 1 ] || fail "the session log holds more than one line"
    grep -qaE $'^Session Startet: [0-9]{1,2}[^0-9][0-9]{2}[^0-9][0-9]{2}.*\r$' "$1" ||
        fail "unexpected session log: $(cat -A "$1")"
}
