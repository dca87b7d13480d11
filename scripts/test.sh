#!/usr/bin/env bash
# Builds and runs every test: the portable tests natively, again under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzzing run, and
# the Windows build's tests under Wine (headless, in a private prefix), a
# second build of Quorvane.exe compared with the first, and the packages.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh all
jobs=$(nproc)

echo "== native"
cmake --preset native >/dev/null
# GoogleTest through find_package, the way a Windows host finds MSYS2's.
grep -q '^GTest_DIR:PATH=/' build/native/CMakeCache.txt ||
  { echo "The native configure did not take GoogleTest's installed package."; exit 1; }
cmake --build --preset native -j"$jobs"
ctest --preset native

echo "== native under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native-sanitize >/dev/null
cmake --build --preset native-sanitize -j"$jobs"
QUORVANE_ORACLE_CASES=${QUORVANE_SANITIZE_ORACLE_CASES:-200000} ctest --preset native-sanitize

echo "== fuzzing the numeric text conversions (${QUORVANE_FUZZ_SECONDS:-30} s)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
mkdir -p build/fuzz/corpus
./build/fuzz/fuzz/quorvane_fuzz -max_total_time="${QUORVANE_FUZZ_SECONDS:-30}" \
  -print_final_stats=0 build/fuzz/corpus 2>build/fuzz/fuzz.log || { tail -50 build/fuzz/fuzz.log; exit 1; }
tail -1 build/fuzz/fuzz.log

echo "== win64 under Wine"
prefix=$(mktemp -d /tmp/quorvane-wine.XXXXXX)
export QUORVANE_WINEPREFIX="$prefix"
cleanup() { WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; rm -rf "$prefix"; }
trap cleanup EXIT
# The prefix every Windows test runs in (cmake/wine-run.sh), prepared before
# the first test so that no test's time goes into it.
source scripts/wine-prefix.sh
prepare_wine_prefix "$prefix" "$QUORVANE_HEADLESS_DESKTOP"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$jobs"
ctest --preset win64 -E quorvane_soak
# The soak test prints its figures: presses, messages by kind, mismatches,
# object counts.
ctest --preset win64 -R quorvane_soak --verbose | sed -n 's/^[0-9]*: //p'

echo "== Quorvane.exe built again in a second folder, byte for byte the same"
cmake -S . -B build/win64-again --toolchain cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUORVANE_WERROR=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build/win64-again -j"$jobs" --target Quorvane >/dev/null
cmp build/win64/bin/Quorvane.exe build/win64-again/bin/Quorvane.exe
sha256sum build/win64/bin/Quorvane.exe
# The debug file, named after the version, which the program names in turn.
debug=$(cd build/win64 && ls Quorvane-*-win64.debug)
cmp "build/win64/$debug" "build/win64-again/$debug"
# The program names it with its CRC-32, which objdump checks when it finds it.
(cd build/win64 && x86_64-w64-mingw32-objdump -Wk bin/Quorvane.exe 2>&1) |
  grep -F "Found separate debug info file: $debug" ||
  { echo "Quorvane.exe does not name $debug with its CRC-32"; exit 1; }

echo "== the ZIP and MSI packages"
rm -f build/win64/Quorvane-*.zip build/win64/Quorvane-*.msi
cpack --preset win64 >/dev/null
# Named after the version: found by pattern, one of each.
zip=$(cd build/win64 && ls Quorvane-*-win64.zip)
msi=$(cd build/win64 && ls Quorvane-*-win64.msi)
listing=$(cd build/win64 && cmake -E tar tf "$zip" | LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "Quorvane.exe QuorvaneHelp.chm readme.txt " ] || { echo "ZIP holds: $listing"; exit 1; }
echo "build/win64/$zip: $listing"
listing=$(msiinfo export "build/win64/$msi" File | tail -n +4 | cut -f3 |
  LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "Quorvane.exe QuorvaneHelp.chm " ] || { echo "MSI holds: $listing"; exit 1; }
echo "build/win64/$msi: $listing"

echo "== another version number, carried by every file"
bash scripts/check-version.sh
echo "All test suites passed."
