#!/usr/bin/env bash
# Installs the build tree as `cmake --install` would, into a scratch prefix,
# and checks what a package built from it would ship: every program
# stripped of its symbols and debug information, and no file that anyone
# but its owner may write.
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
echo "installed: $programs programs stripped, nothing writable by others"
