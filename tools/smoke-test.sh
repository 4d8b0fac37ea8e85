#!/bin/bash
# The check a build gets that does not run the test suite (the 32-bit one):
# its stagetune.exe starts on its simulated board, reads the parameters,
# writes them with "Save To File" and ends with Exit.
#   tools/smoke-test.sh <build folder> [Wine prefix]
# The prefix defaults to the build folder's own.
# Where Wine cannot run the build's programs (a 32-bit build without
# Debian's wine32:i386) it says so and succeeds: the build itself stands.
set -euo pipefail
build=$(realpath "$1")
bin=$build/bin
export WINEPREFIX=${2:-$build/wineprefix} WINEDEBUG=-all
cd "$(dirname "$0")/.."
tools/wine-prefix.sh "$WINEPREFIX" null
set +e
wine "$bin/uiclick.exe" >/dev/null 2>&1
runs=$?
set -e
if [ "$runs" -ne 2 ]; then   # its usage message: it ran
  echo "smoke test: this machine cannot run $bin's programs under Wine (for 32-bit ones Wine needs Debian's wine32:i386); skipped"
  exit 0
fi

work=$(mktemp -d)
export AXBSIM_STATE="$work/board.state" KRV_SETTINGS="$work"
main_title='stagetune:4.0.0 2021 August 12'
click() { wine "$bin/uiclick.exe" "$@" >/dev/null 2>&1; }
finish() {
  [ -n "${program:-}" ] && kill "$program" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "smoke test of $bin: $*" >&2; exit 1; }
# Polls a command for up to ten seconds.
within_10s() { for _ in $(seq 50); do "$@" && return 0; sleep 0.2; done; return 1; }

wine "$bin/stagetune.exe" >/dev/null 2>&1 &
program=$!
# A new simulated board has a blank flash record: restore the defaults. The
# parameters are read once the main window shows them (X's readout).
main_up() { click 'Flash error' 1 || true; click "$main_title" 1100; }
within_10s main_up || fail "no main window"

par="$work/smoke.par"
# "Save To File" (enabled once the board is read) holds the click while its
# dialog is open: the click runs beside the answer, which goes into the
# dialog's file name box (cmb13).
clicking=
save_dialog_up() {
  { [ -n "$clicking" ] && kill -0 "$clicking" 2>/dev/null; } || { click "$main_title" 1029 & clicking=$!; }
  click 'par File to Save' 1148 "$(winepath -w "$par")"
}
within_10s save_dialog_up || fail "no \"par File to Save\" dialog"
click 'par File to Save' 1
within_10s test -s "$par" || fail "Save To File wrote nothing"
params=$(grep -cE '^P[0-9]{3} ' "$par" || true)
[ "$params" -eq 512 ] || fail "$par holds $params parameters, not 512"

click "$main_title" 1
within_10s bash -c "! kill -0 $program 2>/dev/null" || fail "Exit did not end the program"
program=
echo "smoke test of $bin: started on the simulated board, read and saved $params parameters, exited"
