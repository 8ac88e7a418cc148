#!/usr/bin/env bash
# Runs a command on Qt's real X11 platform against a private Xvfb display,
# for tests whose events must come from a real X server in its own order.
#
# usage: under-xvfb.sh COMMAND [ARGUMENT...]
set -euo pipefail

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and names it on descriptor 5.
exec 5> "$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 5>&-
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }

DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb "$@"
