#!/bin/bash
# Runs the tick benchmarks back to back, each on a fresh simulated board:
# the main timer at rest and with X and Y moving, the tick while X, Y and Z
# home, the zoom homing tick (with and without its data lines) and the goto
# windows' ticks. Each prints five runs, their best and median, and where
# the median run's time went.
#   tools/bench.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for bench in main_timer homing_tick zoom motion; do
  cmake/wine-run.sh "$build/bin/bench_$bench.exe"
done
cmake/wine-run.sh "$build/bin/bench_gpio.exe"
cmake/wine-run.sh "$build/bin/bench_turret.exe"
cmake/wine-run.sh "$build/bin/bench_scope.exe"
cmake/wine-run.sh "$build/bin/bench_report.exe"
cmake/wine-run.sh "$build/bin/bench_compare.exe"
cmake/wine-run.sh "$build/bin/bench_response.exe"
