#!/usr/bin/env bash
# quorvane-tool writing a dump into a pipe whose reader stops early, as
# `| head` does: the tool ends quietly with status 141, as a Unix tool ended
# by SIGPIPE does, and prints no error. Where the signal is ignored the tool
# sees the closed pipe itself and must end the same way. On a Windows build
# the programs run through the build's wine runner.
#
# usage: closed-pipe.sh TOOL DEMO-GENERATOR [RUNNER]
set -u -o pipefail

tool=$1
generator=$2
runner=()
[ -n "${3:-}" ] && runner=("$3")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "CLOSED PIPE FAIL: $*" >&2; exit 1; }

"${runner[@]}" "$generator" "$work/demo" >/dev/null || fail "no demo file"

# The dump is far larger than a pipe holds, so the tool is still writing
# when head has its line and goes.
dump_into_head() { # case
    "${runner[@]}" "$tool" dump "$work/demo/tiledata.mul" 2>"$work/errors" | head -n 1 >"$work/first"
    local status=${PIPESTATUS[0]}
    [ "$status" -eq 141 ] || fail "$1: exit status $status"
    [ ! -s "$work/errors" ] || fail "$1: printed \"$(cat "$work/errors")\""
    grep -q '^index' "$work/first" || fail "$1: head got no first line"
}

dump_into_head "closed pipe"
if [ ${#runner[@]} -eq 0 ]; then
    (trap '' PIPE; dump_into_head "closed pipe, SIGPIPE ignored") || exit 1
fi
echo "closed pipe: quiet, status 141"
