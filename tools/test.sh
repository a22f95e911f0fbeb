#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: once in a
# normal build, once more under AddressSanitizer and UndefinedBehaviorSanitizer
# with every error fatal.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
(cd build && ctest --output-on-failure -j2)

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELPORA_SANITIZE=ON >/dev/null
cmake --build build-asan -j2
# Leak checking is off: the toolkit's font and style caches live until exit.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
(cd build-asan && ctest --output-on-failure -j2)
