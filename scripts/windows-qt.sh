#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source package with
# mingw-w64, once, into a cache folder outside the tree:
#   ${QUORVANE_CACHE:-$HOME/.cache/quorvane}/qt-<version>-mingw64
# The version is the host's qt6-base-dev version, because the Windows Qt
# borrows the host's moc, rcc and uic, which must match it exactly. A stamp
# file written last marks a finished build; a folder without it is the
# remains of an interrupted run and is built again. Prints the folder on
# standard output and its progress on standard error.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/packages.sh"

install_missing qt6-base-dev dpkg-dev cmake ninja-build xz-utils \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix >&2

host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)   # e.g. 6.4.2+dfsg-10
qt_version=${host_version%%[+~-]*}                              # 6.4.2
cache="${QUORVANE_CACHE:-$HOME/.cache/quorvane}"
prefix="$cache/qt-$qt_version-mingw64"
stamp="$prefix/quorvane-qt.stamp"

if [ -f "$stamp" ]; then
    echo "$prefix"
    exit 0
fi

work="$cache/qt-$qt_version-mingw64-work"
rm -rf "$prefix" "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/sources.list.d"

# apt-get source needs deb-src entries. They are made from the machine's own
# Debian entries, in a private apt configuration, so the system's apt set-up
# stays as it is.
apt_private=(
    -o APT::Sandbox::User="$(id -un)"
    -o Dir::Etc::SourceList="$work/apt/sources.list"
    -o Dir::Etc::SourceParts="$work/apt/sources.list.d"
    -o Dir::State::Lists="$work/apt/lists"
    -o Dir::Cache="$work/apt/cache"
)
: >"$work/apt/sources.list"
if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >>"$work/apt/sources.list"
fi
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$f" >"$work/apt/sources.list.d/$(basename "$f")"
done
for f in /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >"$work/apt/sources.list.d/$(basename "$f")"
done

echo "Fetching the source of qt6-base $host_version" >&2
apt-get "${apt_private[@]}" update -qq >&2
(cd "$work" && apt-get "${apt_private[@]}" source -qq "qt6-base=$host_version") >"$work/source.log" 2>&1 ||
    { cat "$work/source.log" >&2; exit 1; }
src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-*" | head -n 1)
[ -n "$src" ] || { echo "windows-qt: the qt6-base source was not unpacked" >&2; exit 1; }

# The windows platform plugin includes wintab.h and pktdef.h for tablet
# input, which the source package leaves out. Wine's copies serve; they come
# from libwine-dev, unpacked here rather than installed, and need two of
# Wine's naming macros and the SDK's calling-convention macro.
wintab="$src/src/3rdparty/wintab"
mkdir -p "$wintab" "$work/wine"
(cd "$work/wine" && apt-get download -qq libwine-dev >/dev/null 2>&1 && dpkg-deb -x libwine-dev_*.deb .)
cp "$work/wine/usr/include/wine/wine/windows/pktdef.h" "$wintab/pktdef.h"
cp "$work/wine/usr/include/wine/wine/windows/wintab.h" "$wintab/wine-wintab.h"
cat >"$wintab/wintab.h" <<'HEADER'
/* Wine's wintab.h, with the two Wine macros it relies on, and API, which
   the tablet SDK's own header defines and Qt uses. */
#ifndef WINELIB_NAME_AW
# ifdef UNICODE
#  define WINELIB_NAME_AW(name) name##W
# else
#  define WINELIB_NAME_AW(name) name##A
# endif
#endif
#ifndef DECL_WINELIB_TYPE_AW
# define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#endif
#ifndef API
# define API WINAPI
#endif
#include "wine-wintab.h"
HEADER

# Only what a Widgets program and its tests need. The bundled copies of
# zlib, libpng, pcre2, harfbuzz, freetype, md4c and double-conversion are
# used. OpenGL needs INPUT_opengl=no as well, or dynamic GL stays on; and
# direct2d must stay on (the platform plugin does not link without it), with
# only direct2d1_1 off.
echo "Configuring Qt $qt_version for Windows" >&2
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_fontconfig=OFF -DFEATURE_icu=OFF \
    -DFEATURE_glib=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF \
    -DFEATURE_opengl=OFF -DINPUT_opengl=no \
    -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF \
    -DFEATURE_testlib=ON \
    >"$work/configure.log" 2>&1 || { tail -n 60 "$work/configure.log" >&2; exit 1; }

echo "Building Qt $qt_version for Windows (about ten minutes on two cores)" >&2
jobs="${QUORVANE_JOBS:-$(nproc)}"
if ! cmake --build "$work/build" -j"$jobs" >"$work/build.log" 2>&1 ||
   ! cmake --install "$work/build" >>"$work/build.log" 2>&1; then
    grep -B2 -A10 -m5 "error" "$work/build.log" >&2 || tail -n 60 "$work/build.log" >&2
    exit 1
fi

rm -rf "$work"
echo "qt6-base $host_version for x86_64-w64-mingw32" >"$stamp"
echo "$prefix"
