#!/bin/bash
# Builds the fuzz targets of fuzz/ with clang, replays each target's
# committed corpus (fuzz/corpus/<target>/), then fuzzes each target for the
# given seconds (default 3). Exits non-zero on any finding; the input that
# caused it is kept under the build folder and named in the output.
# Usage: tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3}
build=${BUILD_DIR:-build}/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
ninja -C "$build"

failed=()
for source in fuzz/*.cpp; do
  name=$(basename "$source" .cpp)
  corpus=fuzz/corpus/$name
  if [ ! -d "$corpus" ]; then
    echo "fuzz: $name has no seed corpus in $corpus"
    failed+=("$name")
    continue
  fi
  # New inputs go to a scratch folder, never into the committed corpus.
  scratch=$build/scratch/$name
  artifacts=$build/findings/$name
  mkdir -p "$scratch" "$artifacts"
  log=$build/$name.log
  if "$build/fuzz_$name" "$corpus"/* >"$log" 2>&1 &&
     "$build/fuzz_$name" -max_total_time="$seconds" -timeout=10 \
       -artifact_prefix="$artifacts/" -print_final_stats=1 "$scratch" "$corpus" >>"$log" 2>&1; then
    echo "fuzz: $name: $(grep -Eo '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$') runs, no finding"
  else
    echo "fuzz: $name FAILED; its output:"
    tail -n 40 "$log"
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: findings in ${failed[*]} (inputs under $build/findings/); add each to its target's corpus with its fix"
  exit 1
fi
