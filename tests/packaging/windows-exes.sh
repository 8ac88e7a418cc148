#!/usr/bin/env bash
# The Windows programs as Explorer sees them: the editor a GUI program, so
# that no console opens beside it whose closing would end it unasked, and
# the tool a console program; both with the project's version information
# and a copyright notice;
# the editor with its icon and its manifest.
#
# usage: windows-exes.sh OBJDUMP WINDRES VERSION QUORVANE.exe QUORVANE-TOOL.exe
set -euo pipefail

objdump=$1
windres=$2
version=$3
editor=$4
tool=$5
fail() { echo "WINDOWS EXES FAIL: $*" >&2; exit 1; }

subsystem() { # exe
    "$objdump" -p "$1" | awk '$1 == "Subsystem" { print $2 + 0 }'
}
[ "$(subsystem "$editor")" = 2 ] || fail "quorvane.exe is not a GUI program (subsystem $(subsystem "$editor"))"
[ "$(subsystem "$tool")" = 3 ] || fail "quorvane-tool.exe is not a console program (subsystem $(subsystem "$tool"))"

# The resources as windres reads them back out of the executable.
check_version() { # exe, description
    local resources
    resources=$("$windres" -i "$1" -O rc | grep -F 'VALUE "')
    for value in "\"ProductName\", \"Quorvane\"" "\"ProductVersion\", \"$version\"" \
                 "\"FileVersion\", \"$version\"" "\"FileDescription\", \"$2\""; do
        grep -qF "VALUE $value" <<<"$resources" || fail "$(basename "$1") lacks $value"
    done
    grep -qE 'VALUE "CompanyName", "[^"]+"' <<<"$resources" || fail "$(basename "$1") names no company"
    grep -qE 'VALUE "LegalCopyright", "Copyright \(C\) [0-9]{4} [^"]+"' <<<"$resources" ||
        fail "$(basename "$1") has no copyright notice"
}
check_version "$editor" "Quorvane tile data editor"
check_version "$tool" "Quorvane command-line tool"

resources=$("$windres" -i "$editor" -O rc | grep -v '^  0x')
grep -q '^"IDI_ICON1" 14 /\* RT_GROUP_ICON \*/' <<<"$resources" || fail "quorvane.exe has no icon"
grep -q '^1 24 /\* RT_MANIFEST \*/' <<<"$resources" || fail "quorvane.exe has no manifest"
for setting in 'level=""asInvoker""' '>PerMonitorV2' 'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""'; do
    grep -qF "$setting" <<<"$resources" || fail "the manifest lacks $setting"
done
echo "windows exes: GUI editor, console tool, version $version, icon and manifest"
