#!/usr/bin/env bash
# Start-up and footprint benchmark: builds the win64 preset and runs
# quorvane_startup_bench under Wine, headless, in a private prefix of its
# own, prepared by scripts/wine-prefix.sh. It starts Quorvane.exe and Wine's
# notepad.exe alternately (RUNS times each, default 15) and prints the medians
# and ratios, the size of Quorvane.exe, and press timings with long texts.
#   bash scripts/bench-startup.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh win64
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target quorvane_startup_bench >/dev/null
prefix=$(mktemp -d /tmp/quorvane-bench.XXXXXX)
cleanup() { WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; rm -rf "$prefix"; }
trap cleanup EXIT
# Prepared as every prefix of the project is, before the clock starts.
source scripts/wine-prefix.sh
prepare_wine_prefix "$prefix" "$QUORVANE_HEADLESS_DESKTOP"
echo "wine: $(wine --version), $(nproc) cores"
QUORVANE_WINEPREFIX="$prefix" bash cmake/wine-run.sh build/win64/bin/quorvane_startup_bench.exe \
  "${1:-15}" 2> >(grep -v '^X connection' >&2)
