#!/usr/bin/env bash
# Makes the README's pictures and the help's, each under a private Xvfb in a
# prefix prepared by scripts/wine-prefix.sh (a 1024x768 Wine desktop):
#   screenshot.png        the main window after A = 3, 4 and B = 1, 1
#   about.png             the About box
#   data-entry-error.png  the Data Entry Error message, after B = 1, "one"
#   screenshot-dark.png   the main window as screenshot.png, with dark chosen
#                         for apps (AppsUseLightTheme = 0 in the prefix)
#   window.png            the main window after A = 3, 4 and B = 5, 90 Polar,
#                         the help's first calculation, for its first page
# Usage: scripts/screenshot.sh [folder]   (default: docs, and help/chm for
#                                          window.png)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs}"
help_out="${1:-help/chm}"
bash scripts/deps.sh win64
command -v import >/dev/null || { apt-get update -qq && apt-get install -y -qq imagemagick >/dev/null; }
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target Quorvane quorvane_help_chm quorvane_shot_driver
source scripts/wine-prefix.sh
quorvane_wine_env
prefix=$(mktemp -d /tmp/quorvane-shot.XXXXXX)
display=:$((100 + RANDOM % 800))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
export DISPLAY="$display" WINEPREFIX="$prefix"
prepare_wine_prefix "$prefix" 1024x768
mkdir -p "$out" "$help_out"

# shot PATH realA imagA realB imagB [about|message|polarB]: starts the
# program, lets the driver work it, photographs the rectangle the driver
# names, ends it.
shot() {
  local file=$1
  shift
  wine build/win64/bin/Quorvane.exe &
  local program=$! rect
  rect=$(wine build/win64/bin/quorvane_shot_driver.exe "$@" | tr -d '\r')
  read -r x y w h <<<"$rect"
  sleep 2
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$file"
  wineserver -k || true
  wait "$program" || true
  echo "wrote $file"
}
shot "$out/screenshot.png" 3 4 1 1
shot "$out/about.png" 3 4 1 1 about
shot "$out/data-entry-error.png" 3 4 1 one message
# The help's picture without the PNG's dates, so that making it again changes
# the file only when the window has changed.
shot "$help_out/window.png" 3 4 5 90 polarB
mogrify -strip "$help_out/window.png"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' \
  /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null
shot "$out/screenshot-dark.png" 3 4 1 1
