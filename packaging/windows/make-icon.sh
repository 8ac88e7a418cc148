#!/usr/bin/env bash
# Redraws quorvane.ico, the Windows program's icon, from the shapes of
# packaging/quorvane.svg. ImageMagick here has no SVG reader, so the shapes
# are drawn with its own primitives, at 256 pixels and scaled down for the
# smaller sizes Explorer asks for. The .ico is kept in the repository: the
# Windows build needs no image tools. Run it again when the SVG changes.
#
# usage: make-icon.sh
set -euo pipefail
cd "$(dirname "$0")"

shapes="
viewbox 0 0 256 256
scale 4,4
fill '#2f3b52' roundrectangle 0,0 64,64 10,10
fill '#7fb069' polygon 32,10 56,26 32,42 8,26
fill '#4f7a3f' polygon 8,26 32,42 32,54 8,38
fill '#5f8f4c' polygon 56,26 32,42 32,54 56,38
fill none stroke '#e6f0dc' stroke-width 1.5 stroke-dasharray 3 2
polygon 32,14 50,26 32,38 14,26"
convert -size 256x256 xc:none -draw "$shapes" -depth 8 \
    -define icon:auto-resize=256,48,32,24,16 quorvane.ico
