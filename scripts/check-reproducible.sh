#!/usr/bin/env bash
# Builds the last commit twice, in two fresh folders of different names, and
# checks that Quorvane.exe, QuorvaneHelp.chm, the ZIP and the MSI come out
# byte for byte the same. Prints the SHA-256 of each.
# Usage: scripts/check-reproducible.sh [--exe-only]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh win64
files=(bin/Quorvane.exe bin/QuorvaneHelp.chm Quorvane-1.0.0-win64.zip Quorvane-1.0.0-win64.msi)
[ "${1:-}" = "--exe-only" ] && files=(bin/Quorvane.exe)

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
    if [ "${#files[@]}" -eq 1 ]; then
      cmake --build --preset win64 -j"$(nproc)" --target Quorvane >/dev/null
    else
      cmake --build --preset win64 -j"$(nproc)" >/dev/null
      cpack --preset win64 >/dev/null
    fi
  )
done
status=0
for f in "${files[@]}"; do
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
