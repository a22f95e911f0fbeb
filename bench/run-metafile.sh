#!/bin/sh
# Builds and runs the metafile playing benchmark over the corpus.
#   bench/run-metafile.sh [REPEATS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-mf-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELPORA_BENCH=ON -DKELPORA_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target bench_metafile >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/metafile/bench_metafile" "$root/../shared/corpus" "${1:-5}"
