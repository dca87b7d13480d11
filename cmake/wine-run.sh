#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix, prepared as
# scripts/wine-prefix.sh does for every prefix of the project. The prefix
# comes from QUORVANE_WINEPREFIX (set by the test script for one run) or
# defaults to one for this user. Without a display, starts a private Xvfb and
# stops it.
set -eu
source "$(cd "$(dirname "$0")/.." && pwd)/scripts/wine-prefix.sh"
quorvane_wine_env
export WINEPREFIX="${QUORVANE_WINEPREFIX:-${TMPDIR:-/tmp}/quorvane-wine-$(id -u)}"
prepare_wine_prefix "$WINEPREFIX" "$QUORVANE_HEADLESS_DESKTOP"
# The runs are headless: a help file opened by a test is unpacked and its
# page found, but no browser is started for it.
export QUORVANE_CHM_VIEWER="${QUORVANE_CHM_VIEWER:-true}"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 ${QUORVANE_HEADLESS_DESKTOP}x24" wine "$@"
fi
exec wine "$@"
