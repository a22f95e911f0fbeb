#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz and runs one of them.
#   tools/run-fuzz.sh TARGET SECONDS
# The working corpus lives in fuzz-out/TARGET (kept between runs), seeded
# from the project's own seed generator; findings land in fuzz-out/TARGET-findings.
set -eu
target=${1:?usage: tools/run-fuzz.sh TARGET SECONDS}
seconds=${2:?usage: tools/run-fuzz.sh TARGET SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
# KELPORA_FUZZ_BUILD picks another build folder, so runs of different areas need not share one.
build="${KELPORA_FUZZ_BUILD:-$root/build-fuzz}"

cmake -S "$root" -B "$build" -DKELPORA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 --target "$target" >/dev/null

corpus="$root/fuzz-out/$target"
findings="$root/fuzz-out/$target-findings"
mkdir -p "$corpus" "$findings"

case "$target" in
  fuzz_bmp|fuzz_ico)
    cmake --build "$build" -j2 --target make_codec_seeds >/dev/null
    seeds="$build/codec-seeds"
    "$build/fuzz/codecs/make_codec_seeds" "$seeds" >/dev/null
    cp -n "$seeds/${target#fuzz_}"/* "$corpus"/ ;;
  fuzz_emf|fuzz_wmf)
    cmake --build "$build" -j2 --target make_metafile_seeds >/dev/null
    seeds="$build/metafile-seeds"
    "$build/fuzz/metafile/make_metafile_seeds" "$seeds" >/dev/null
    cp -n "$seeds/${target#fuzz_}"/* "$corpus"/ ;;
esac

binary=$(find "$build/fuzz" -type f -name "$target" -perm -u+x | head -n 1)
log="$root/fuzz-out/$target.log"
status=0
"$binary" "$corpus" -max_total_time="$seconds" -artifact_prefix="$findings/" \
  -print_final_stats=1 -rss_limit_mb=2048 -timeout=10 >"$log" 2>&1 || status=$?

runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
echo "target:     $target"
echo "seconds:    $seconds"
echo "executions: ${runs:-unknown}"
echo "corpus:     $(ls "$corpus" | wc -l) inputs"
count=$(ls "$findings" | wc -l)
echo "findings:   $count (in $findings)"
if [ "$status" -ne 0 ]; then
  echo "fuzzer stopped with status $status; last lines of $log:"
  tail -n 30 "$log"
fi
exit "$status"
