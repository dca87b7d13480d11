#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix. The prefix comes from
# QUORVANE_WINEPREFIX (set by the test script for one run) or defaults to one
# beside this build. Without a display, starts a private Xvfb and stops it.
set -eu
export WINEDEBUG=-all
export WINEPREFIX="${QUORVANE_WINEPREFIX:-${TMPDIR:-/tmp}/quorvane-wine-$(id -u)}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  # A Wine desktop of its own: windows get their frames drawn as on Windows,
  # and closing one does not wait for a window manager that is not there.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
    >/dev/null 2>&1 || true
  wineserver -w || true
fi
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
