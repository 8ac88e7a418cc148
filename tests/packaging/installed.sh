#!/usr/bin/env bash
# Installs the build tree as `cmake --install` would, into a scratch prefix,
# and checks what a package built from it would ship: every program
# stripped of its symbols and debug information, no file that anyone but
# its owner may write, a desktop entry that file managers offer for a
# tiledata.mul, and a copyright file that names the licences of the
# libraries the programs link, at paths this system has.
#
# usage: installed.sh BUILD-DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "INSTALLED FAIL: $*" >&2; exit 1; }

# Naming the default component writes the install manifest under a name of
# its own, leaving the one of a real install in the build tree alone.
cmake -DCMAKE_INSTALL_COMPONENT=Unspecified -DCMAKE_INSTALL_PREFIX="$work/usr" \
      -P "$build/cmake_install.cmake" >/dev/null

programs=0
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    programs=$((programs + 1))
    sections=$(readelf -SW "$file" | grep -oE '\.(symtab|debug_[a-z_]+)' || true)
    [ -z "$sections" ] || fail "${file#"$work"} keeps $(echo $sections)"
done < <(find "$work" -type f -print0)
[ "$programs" -gt 0 ] || fail "no program was installed"

writable=$(find "$work" -type f -perm /022)
[ -z "$writable" ] || fail "writable by others: ${writable//"$work"/}"
# The file's type by its name, as the system's MIME database compiles it,
# and the desktop entry xdg-mime finds for that type, with nothing of the
# machine's own settings or desktop in the way.
share=$work/usr/share
update-mime-database "$share/mime" >/dev/null
type=$(awk -F: '$3 == "tiledata.mul" { print $2 }' "$share/mime/globs2")
[ -n "$type" ] || fail "no MIME type for tiledata.mul"
default=$(env -i PATH="$PATH" HOME="$work/home" XDG_DATA_DIRS="$share" XDG_CONFIG_DIRS="$work/none" \
          xdg-mime query default "$type")
[ "$default" = quorvane.desktop ] || fail "xdg-mime offers \"$default\" for $type"
grep -qx 'Exec=quorvane %f' "$share/applications/quorvane.desktop" || fail "the desktop entry does not pass the file"

copyright=$share/doc/quorvane/copyright
[ -f "$copyright" ] || fail "no copyright file"
for phrase in "Copyright (C)" "Lesser General Public License version 3" "GCC Runtime" "zlib"; do
    grep -qF "$phrase" "$copyright" || fail "the copyright file lacks \"$phrase\""
done
for text in $(grep -oE '/usr/share/[^ ,]+[A-Za-z0-9]' "$copyright"); do
    [ -e "$text" ] || fail "the copyright file points to $text, which this system lacks"
done
echo "installed: $programs programs stripped, nothing writable by others, $type opens in quorvane.desktop, copyright file"
