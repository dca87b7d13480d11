#!/usr/bin/env bash
# Builds the benchmark program (preset bench), runs it, and prints how the
# program's number texts compare with the standard conversions on the same
# values. Extra arguments go to the benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench
cmake --build --preset bench -j"$(nproc)"
json=$(mktemp)
trap 'rm -f "$json"' EXIT
./build/bench/bench/quorvane_bench --benchmark_out="$json" --benchmark_out_format=json "$@"
python3 - "$json" <<'PY'
import json
import sys

with open(sys.argv[1]) as f:
    runs = json.load(f)["benchmarks"]
# With repetitions, compare the medians; otherwise the single runs.
per = {}
for r in runs:
    if r.get("run_type") == "aggregate" and r.get("aggregate_name") != "median":
        continue
    per[r.get("run_name", r["name"])] = r["cpu_time"]


def ratio(a, b):
    if a not in per or b not in per:
        return "n/a"
    return f"{per[a] / per[b]:.2f}"


print()
print(f"FormatResult / to_chars(scientific, 14): {ratio('BM_FormatResult', 'BM_ToCharsScientific14')}")
print(f"NumberToText / to_chars(scientific, 14): {ratio('BM_NumberToText', 'BM_ToCharsScientific14')}")
print(f"TextToNumber / from_chars:               {ratio('BM_TextToNumber', 'BM_FromChars')}")
PY
