#!/usr/bin/env bash
# The launcher's copy of the program: made in the user's data folder, made
# again when the installed program changes, never seen half-written by a
# second start, and the installed program started when no copy can be made.
# A stand-in program writes its "log" beside the path it runs from.
#
# usage: launcher.sh LAUNCHER
set -euo pipefail

launcher=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "LAUNCHER FAIL: $*" >&2; exit 1; }

mkdir -p "$work/usr/bin" "$work/usr/lib/quorvane" "$work/home"
install -m 755 "$launcher" "$work/usr/bin/quorvane"
installed=$work/usr/lib/quorvane/quorvane

# A stand-in of about a megabyte, like the real program, so that a copy
# taking its time is caught by a start reading it meanwhile: only a whole
# file reaches its last line.
install_version() {
    {
        echo '#!/bin/sh'
        echo "echo \"$1 \$*\" > \"\$0.log\""
        head -c 1000000 /dev/zero | tr '\0' '#'
        echo
        echo 'echo whole; exit 7'
    } > "$installed.new"
    chmod 755 "$installed.new"
    mv "$installed.new" "$installed"
}

# Runs the launcher with the given environment; its status must be the
# stand-in's, and the stand-in must have run whole.
start() {
    local status=0
    env -i PATH="$PATH" "$@" "$work/usr/bin/quorvane" one two >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq 7 ] || fail "exit status $status, stderr: $(cat "$work/err")"
    [ "$(cat "$work/out")" = whole ] || fail "the program did not run whole"
}

data=$work/data/quorvane
install_version v1
start HOME="$work/home" XDG_DATA_HOME="$work/data"
cmp -s "$installed" "$data/quorvane" || fail "no copy in the data folder"
[ "$(stat -c %a "$data/quorvane")" = 755 ] || fail "copy mode $(stat -c %a "$data/quorvane")"
[ "$(cat "$data/quorvane.log")" = "v1 one two" ] || fail "log not beside the copy"
[ ! -e "$installed.log" ] || fail "the installed program ran"
[ ! -s "$work/err" ] || fail "unexpected stderr: $(cat "$work/err")"

inode=$(stat -c %i "$data/quorvane")
start HOME="$work/home" XDG_DATA_HOME="$work/data"
[ "$(stat -c %i "$data/quorvane")" = "$inode" ] || fail "an unchanged copy was made again"

# An upgrade, and four starts at once.
install_version v2
pids=()
for i in 1 2 3 4; do
    (env -i PATH="$PATH" HOME="$work/home" XDG_DATA_HOME="$work/data" "$work/usr/bin/quorvane" >"$work/out$i" 2>&1 || echo $? >>"$work/out$i") &
    pids+=($!)
done
wait "${pids[@]}"
for i in 1 2 3 4; do
    [ "$(tr '\n' ' ' <"$work/out$i")" = "whole 7 " ] || fail "start $i at once: $(cat "$work/out$i")"
done
cmp -s "$installed" "$data/quorvane" || fail "copy not refreshed"
[ "$(cat "$data/quorvane.log")" = "v2 " ] || fail "refreshed copy did not run"
[ -z "$(find "$data" -name '.quorvane.*')" ] || fail "temporary files left behind"

# Reached through a link, with a relative XDG_DATA_HOME (invalid, so ignored).
ln -s "$work/usr/bin/quorvane" "$work/link"
(cd "$work" && env -i PATH="$PATH" HOME="$work/home" XDG_DATA_HOME=data ./link one two >"$work/out" 2>"$work/err") || [ $? -eq 7 ] || fail "start through a link"
[ "$(cat "$work/home/.local/share/quorvane/quorvane.log")" = "v2 one two" ] || fail "copy not in ~/.local/share"

# No folder for the copy: the installed program itself runs, and says so.
touch "$work/file"
for environment in "HOME=$work/home XDG_DATA_HOME=$work/file" "XDG_DATA_HOME="; do
    rm -f "$installed.log"
    # shellcheck disable=SC2086
    start $environment
    [ "$(cat "$installed.log")" = "v2 one two" ] || fail "installed program not run ($environment)"
    grep -q "^quorvane: cannot place a copy of the program in" "$work/err" || fail "no message ($environment)"
done
echo "launcher: all passed"
