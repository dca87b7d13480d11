#!/usr/bin/env bash
# Runs the win64 test suite (all but the soak) N times, each run in a fresh
# prepared Wine prefix, and prints how each run ended and how many passed.
# Usage: scripts/win64-runs.sh [N] [--busy] [--fresh-caches] [--with-soak]
#   --busy          keeps every core busy, one busy loop per core, during the runs
#   --fresh-caches  removes the user's font and Wine caches before each run
#                   (~/.cache/fontconfig, ~/.cache/wine), as on a new machine
#   --with-soak     runs the soak test too
# The logs of the runs are kept in build/win64-runs/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=10 busy=0 fresh=0 exclude=quorvane_soak
for arg in "$@"; do
  case "$arg" in
    --busy) busy=1 ;;
    --fresh-caches) fresh=1 ;;
    --with-soak) exclude='^$' ;;
    [0-9]*) runs=$arg ;;
    *) echo "usage: $0 [N] [--busy] [--fresh-caches] [--with-soak]" >&2; exit 2 ;;
  esac
done
bash scripts/deps.sh win64
source scripts/wine-prefix.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" >/dev/null

loops=()
prefix=
cleanup() {
  [ "${#loops[@]}" -gt 0 ] && kill "${loops[@]}" 2>/dev/null
  if [ -n "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
  fi
}
trap cleanup EXIT
if [ "$busy" = 1 ]; then
  for _ in $(seq "$(nproc)"); do
    bash -c 'while :; do :; done' &
    loops+=($!)
  done
fi

logs=build/win64-runs
mkdir -p "$logs"
passed=0
for run in $(seq "$runs"); do
  [ "$fresh" = 1 ] && rm -rf ~/.cache/fontconfig ~/.cache/wine
  prefix=$(mktemp -d /tmp/quorvane-wine.XXXXXX)
  export QUORVANE_WINEPREFIX="$prefix"
  began=$(date +%s)
  log="$logs/run-$run.log"
  if { prepare_wine_prefix "$prefix" "$QUORVANE_HEADLESS_DESKTOP" &&
    ctest --preset win64 -E "$exclude"; } >"$log" 2>&1; then
    passed=$((passed + 1))
    result=passed
  else
    result="FAILED ($(grep -E '^\s+[0-9]+ - ' "$log" | awk '{print $3}' | tr '\n' ' ')see $log)"
  fi
  echo "run $run: $result in $(($(date +%s) - began)) s"
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
  prefix=
done
echo "$passed of $runs runs passed$([ "$busy" = 1 ] && echo ', every core busy')$([ "$fresh" = 1 ] && echo ', caches removed before each')"
[ "$passed" = "$runs" ]
