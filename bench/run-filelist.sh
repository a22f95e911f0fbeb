#!/bin/sh
# Builds and runs the file-list benchmark (100,000 files in a temp folder).
set -e
src=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$src/build-bench}
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELPORA_BENCH=ON -DKELPORA_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target filelist_bench
QT_QPA_PLATFORM=offscreen "$build/bench/filectrls/filelist_bench"
