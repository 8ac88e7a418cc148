#!/usr/bin/env bash
# The Windows zip's README and licences: every DLL it ships is named in the
# README's list of licences, and the licence texts that list and Qt's
# source note rely on are in its licenses folder.
#
# usage: windows-zip.sh ZIP
set -euo pipefail

zip=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "WINDOWS ZIP FAIL: $*" >&2; exit 1; }

(cd "$work" && cmake -E tar xf "$zip")
top=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
readme=$(tr -d '\r' <"$top/README.txt")

title=$(head -n 1 <<<"$readme")
[[ "$title" =~ ^Quorvane\ [0-9][0-9.]*\ for\ 64-bit\ Windows$ ]] || fail "README title \"$title\""
[ "$(sed -n 2p <<<"$readme")" = "$(tr '[:print:]' '=' <<<"$title")" ] || fail "README title underline"

while IFS= read -r dll; do
    grep -qF "$(basename "$dll")" <<<"$readme" || fail "README names no licence for $dll"
done < <(cd "$top" && find . -name '*.dll')

check_text() { # file, phrase
    [ -s "$top/licenses/$1" ] || fail "licenses/$1 is missing"
    grep -qF "$2" "$top/licenses/$1" || fail "licenses/$1 lacks \"$2\""
}
check_text LGPL-3.txt "GNU LESSER GENERAL PUBLIC LICENSE"
check_text GPL-3.txt "GNU GENERAL PUBLIC LICENSE"
check_text GCC-RUNTIME-LIBRARY-EXCEPTION.txt "GCC RUNTIME LIBRARY EXCEPTION"
check_text winpthreads.txt "mingw-w64-libraries/winpthreads"
check_text zlib.txt "Jean-loup Gailly and Mark Adler"
check_text Qt-copyright.txt "The Qt Company Ltd."
check_text Qt.txt "apt-get source qt6-base="
! grep -q '@' "$top/licenses/Qt.txt" "$top/README.txt" || fail "a setting was left unfilled"
echo "windows zip: README names each DLL's licence, licence texts and Qt's source note present"
