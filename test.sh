#!/bin/bash
# Builds everything and runs every test under Wine; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build"
# core/ also builds with the host compiler, so it stays free of Windows and
# of the driver (and can carry sanitizer and fuzzing builds).
cmake -S core -B "$build/core-native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
ninja -C "$build/core-native"
tools/wine-prefix.sh "$PWD/$build/wineprefix" null
# Under Wine a test process now and then ends at once, before its first line
# of output; such a test is tried once more. A test that really fails, fails
# both times and the run stays red.
ctest --test-dir "$build" --output-on-failure --timeout 120 --repeat until-pass:2 "$@"
