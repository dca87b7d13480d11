#!/usr/bin/env bash
# Draws the About box's picture, a phasor diagram of 100 x 125 pixels, and
# writes it as a 256-colour GIF89a (picIcon.gif) and ImageMagick's decoding of
# it (picIcon.rgba), which the About box's test compares with the screen.
# Needs ImageMagick.
set -eu
cd "$(dirname "$0")"
convert -size 100x125 gradient:'#f4f8ff-#6f8fbf' \
  -stroke '#203040' -strokewidth 1 -draw 'line 12,88 92,88' -draw 'line 20,114 20,14' \
  -fill '#203040' -stroke none -draw 'polygon 92,85 92,91 97,88' -draw 'polygon 17,14 23,14 20,9' \
  -stroke '#c03020' -strokewidth 3 -draw 'line 20,88 74,34' \
  -fill '#c03020' -stroke none -draw 'polygon 80,28 66,35 73,42' \
  -stroke '#1f7a3a' -strokewidth 3 -draw 'line 20,88 80,72' \
  -fill '#1f7a3a' -stroke none -draw 'polygon 88,70 77,66 79,77' \
  -stroke '#e0a020' -strokewidth 2 -fill none -draw 'arc 2,70 38,106 -45,0' \
  -stroke none -fill '#203040' -pointsize 11 -draw "text 40,110 'A / B'" \
  -dither FloydSteinberg -colors 256 -type Palette picIcon.png
convert picIcon.png -colors 256 GIF:picIcon.gif
convert picIcon.gif -depth 8 rgba:picIcon.rgba
rm -f picIcon.png
