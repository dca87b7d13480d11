#!/usr/bin/env bash
# Makes docs/screenshot.png: the window after A = 3, 4 and B = 1, 1, under a
# private Xvfb and Wine prefix. Usage: scripts/screenshot.sh [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
bash scripts/deps.sh win64
command -v import >/dev/null || { apt-get update -qq && apt-get install -y -qq imagemagick >/dev/null; }
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target Quorvane quorvane_help_chm quorvane_shot_driver
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
export DISPLAY="$display" WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1 || true
# A Wine desktop of its own, so the frame, title bar and menu are drawn as on Windows.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -w
wine build/win64/bin/Quorvane.exe &
wine build/win64/bin/quorvane_shot_driver.exe 3 4 1 1 ${2:-}
sleep 2
mkdir -p "$(dirname "$out")"
# The window and its frame, cut from the screen.
if [ -n "${2:-}" ]; then import -window root "$out"; else import -window root -crop 672x504+144+126 +repage "$out"; fi
echo "wrote $out"
