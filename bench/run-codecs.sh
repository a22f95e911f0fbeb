#!/bin/sh
# Builds the codec benchmark in build-bench, runs it (medians of 5 runs) and
# prints a table of decode times with their ratio to the floor.
#   bench/run-codecs.sh [extra benchmark flags]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
cmake -S "$root" -B "$build" -DKELPORA_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target bench_codecs >/dev/null
json="$build/bench-codecs.json"
"$build/bench/codecs/bench_codecs" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json "$@" >/dev/null
python3 - "$json" <<'PY'
import json, sys
rows = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") != "median" or b.get("error_occurred"):
        continue
    name, method = b["run_name"].split("/")[:2]
    rows.setdefault(name, {})[method] = b["real_time"]
methods = ["floor", "kelpora", "gdkpixbuf", "qt"]
print(f"{'file (8000x6000)':18}" + "".join(f"{m + ' ms':>14}" for m in methods) + f"{'kelpora/floor':>15}{'gdk/floor':>11}{'qt/floor':>10}")
for name, t in rows.items():
    fl = t.get("floor")
    cell = lambda m: f"{t[m]:14.1f}" if m in t else f"{'-':>14}"
    ratio = lambda m, w: f"{t[m] / fl:{w}.2f}" if m in t and fl else f"{'-':>{w}}"
    print(f"{name:18}" + "".join(cell(m) for m in methods) + ratio("kelpora", 15) + ratio("gdkpixbuf", 11) + ratio("qt", 10))
PY
