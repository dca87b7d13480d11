#!/usr/bin/env bash
# Draws the program's icon (a phasor on its axes) at 16, 32 and 48 pixels and
# writes Quorvane.ico beside this script. Needs ImageMagick.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#1f4e8c' -draw 'roundrectangle 8,8 248,248 40,40' \
  -stroke '#9fb8d8' -strokewidth 10 -draw 'line 40,200 224,200' -draw 'line 56,224 56,32' \
  -stroke '#ffffff' -strokewidth 20 -draw 'line 56,200 190,76' \
  -stroke none -fill '#ffffff' -draw 'polygon 214,54 160,70 196,108' \
  -stroke '#ffcc33' -strokewidth 12 -fill none -draw 'arc 6,150 106,250 -43,0' \
  "$tmp/icon.png"
for s in 16 32 48; do convert "$tmp/icon.png" -resize ${s}x${s} "$tmp/icon$s.png"; done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" Quorvane.ico
