#!/usr/bin/env bash
# Preview drawing, page scrolling and peak memory on 8000 x 6000 bitmaps.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DKELPORA_BENCH=ON >/dev/null
cmake --build "$root/build-bench" -j2 --target bench_ui
dir="${1:-/tmp/kelpora-bench}"
"$root/build-bench/bench/ui/bench_ui" "$dir"
for f in "$dir"/*.bmp; do
  "$root/build-bench/bench/ui/bench_ui" --memory "$f"
done
