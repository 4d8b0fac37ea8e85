#!/bin/bash
# The size of the tests against the code they test: lines of every file
# under tests/ against the lines of the program, the simulated devices, the
# tools and the benchmarks (their sources, scripts, resources and build
# files; not prose, pictures or machine descriptions; the fuzz targets are
# testing code outside tests/ and count on neither side). The project keeps the
# ratio at 0.40 at most.
# Usage: tools/test-ratio.sh [source root]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
lines() { xargs -r cat | wc -l; }
code_folders=$(awk '$1 != "outside" && $1 !~ /^#/ { for (i = 2; i <= NF; ++i) print $i }' cmake/layers.txt)
code=$( { git ls-files -- $code_folders sim tools bench CMakeLists.txt 2>/dev/null; } |
        grep -vE '(\.(md|png|ico|bmp|ini)|layers\.txt)$' | lines)
tests=$(git ls-files -- tests | lines)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d lines, code %d lines, ratio %.2f\n", t, c, t / c }'
