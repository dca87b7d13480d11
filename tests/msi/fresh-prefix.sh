#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix made for this one run and
# removed after it, for tests that install into Windows.
set -eu
prefix=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-msi.XXXXXX")
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
QUORVANE_WINEPREFIX="$prefix" "$(dirname "$0")/../../cmake/wine-run.sh" "$@"
