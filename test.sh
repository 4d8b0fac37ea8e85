#!/bin/bash
# Builds everything and runs every test under Wine; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
build=${BUILD_DIR:-build}
# Relative to the tree, so that "$PWD/$build" also names an absolute BUILD_DIR.
mkdir -p "$build" && build=$(realpath --relative-to=. "$build")
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build"
# core/ also builds with the host compiler, so it stays free of Windows and
# of the driver (and can carry sanitizer and fuzzing builds).
cmake -S core -B "$build/core-native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
ninja -C "$build/core-native"
# Its pure tests need no Wine: they run here, under the sanitizers.
set +e
ctest --test-dir "$build/core-native" --output-on-failure --timeout 60 "$@"
native_status=$?
# Its parsers and arithmetic also meet libFuzzer: each target replays its
# corpus and fuzzes for a few seconds.
tools/fuzz.sh
fuzz_status=$?
set -e
# The tests start lamp box stand-ins (sim/lampbox) whose pseudo-terminal is
# linked at one fixed path; COM2 of the prefix leads there.
tools/wine-prefix.sh "$PWD/$build/wineprefix" null "COM2=$PWD/$build/lampbox/com2"
# Under Wine a test process now and then ends at once, before its first line
# of output; such a test is tried once more. A test that really fails, fails
# both times and the run stays red.
output="$build/Testing/test-sh-output.log"
mkdir -p "$(dirname "$output")"
set +e
ctest --test-dir "$build" --output-on-failure --timeout 120 --repeat until-pass:2 "$@" | tee "$output"
status=${PIPESTATUS[0]}
set -e
# A test that failed and then passed on its second try is named, so that a
# test failing now and then is seen.
awk '/ Test +#[0-9]+: / {
  name = $0
  sub(/^.* Test +#[0-9]+: /, "", name)
  sub(/ \.+ *(\*\*\*)?[A-Z].*$/, "", name)
  if (/\*\*\*/) failed[name] = 1
  else if (failed[name]) {
    if (!listed++) print "\nThese tests passed only on their second try:"
    print "\t" name
  }
}' "$output"
[ "$native_status" -ne 0 ] && echo "The native tests of core/ failed."
[ "$fuzz_status" -ne 0 ] && echo "The fuzz targets of fuzz/ found a fault."
[ "$status" -ne 0 ] && exit "$status"
[ "$native_status" -ne 0 ] && exit "$native_status"
exit "$fuzz_status"
