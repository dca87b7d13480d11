#!/usr/bin/env bash
# Builds the last commit twice, in two fresh folders of different names, and
# checks that Quorvane.exe, its debug file, QuorvaneHelp.chm, the ZIP and
# the MSI come out byte for byte the same. Prints the SHA-256 of each.
# Usage: scripts/check-reproducible.sh [--exe-only]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh win64
# The packages and the debug file are named after the version: found by pattern.
files=(bin/Quorvane.exe 'Quorvane-*-win64.debug' bin/QuorvaneHelp.chm 'Quorvane-*-win64.zip'
  'Quorvane-*-win64.msi')
exe_only=false
[ "${1:-}" = "--exe-only" ] && exe_only=true && files=(bin/Quorvane.exe 'Quorvane-*-win64.debug')

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-repro.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Without .git in the copies, the date comes from here.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
for side in first second-build; do
  src="$work/$side/quorvane"
  mkdir -p "$src"
  git archive HEAD | tar -x -C "$src"
  (
    cd "$src"
    cmake --preset win64 -DBUILD_TESTING=OFF >/dev/null
    if $exe_only; then
      cmake --build --preset win64 -j"$(nproc)" --target Quorvane >/dev/null
    else
      cmake --build --preset win64 -j"$(nproc)" >/dev/null
      cpack --preset win64 >/dev/null
    fi
  )
done
status=0
for pattern in "${files[@]}"; do
  # shellcheck disable=SC2086 # the pattern is meant to expand
  f=$(cd "$work/first/quorvane/build/win64" && ls -d $pattern)
  [ "$(wc -w <<<"$f")" -eq 1 ] || { echo "not one file for $pattern: $f"; exit 1; }
  a="$work/first/quorvane/build/win64/$f"
  b="$work/second-build/quorvane/build/win64/$f"
  if cmp -s "$a" "$b"; then
    echo "same      $(sha256sum "$a" | cut -d' ' -f1)  $(basename "$f")"
  else
    echo "DIFFERENT $(sha256sum "$a" | cut -d' ' -f1) $(sha256sum "$b" | cut -d' ' -f1)  $(basename "$f")"
    status=1
  fi
done
exit $status
