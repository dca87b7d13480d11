#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine on the user's display.
# The Wine prefix is QUORVANE_WINEPREFIX, or ~/.quorvane-wine, prepared by
# scripts/wine-prefix.sh on first use and brought up to date when that changes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh win64
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target Quorvane quorvane_help_chm
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY, or run scripts/screenshot.sh for a picture." >&2
  exit 1
fi
source scripts/wine-prefix.sh
quorvane_wine_env
export WINEPREFIX="${QUORVANE_WINEPREFIX:-$HOME/.quorvane-wine}"
prepare_wine_prefix "$WINEPREFIX"
exec wine build/win64/bin/Quorvane.exe
