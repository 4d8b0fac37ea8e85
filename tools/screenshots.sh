#!/bin/bash
# Renders the program's windows on the simulated board under Xvfb and writes
# them as PNG into docs/screenshots (or the folder given), for review and for
# the README.
#   tools/screenshots.sh [folder] [dpi]
# The dpi (96, the default, or 144 and so on) is Wine's LogPixels, set for
# the run. With LAYOUT_CHECK naming /work/shared/tools/layout-check, each
# window is checked for clipped captions and overlapping controls before its
# picture is taken; the findings go to <folder>/layout-check.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
dpi=${2:-96}
build=${BUILD_DIR:-build}
tools/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" stagetune AXB400 uiclick >/dev/null
mkdir -p "$out"

export DISPLAY=:${SCREENSHOT_DISPLAY:-78}
# A screen as much larger as the windows are, so that none is cut off.
Xvfb "$DISPLAY" -screen 0 $((1280 * dpi / 96))x$((1024 * dpi / 96))x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export WINEPREFIX="$PWD/$build/wineprefix-desktop" WINEDEBUG=-all
state=$(mktemp -d)
export AXBSIM_STATE="$state/board.state" KRV_SETTINGS="$state" AXBSIM_TRACE="$state/trace.txt"
finish() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$state"
}
trap finish EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
tools/wine-prefix.sh "$WINEPREFIX" x11
# The DPI takes effect when the server starts again; each run sets its own,
# so that one at 144 leaves no trace in the next.
for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f /reg:64 >/dev/null 2>&1
done
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
: > "$out/layout-check.txt"

main_title='stagetune:4.0.0 2021 August 12'
click() { wine "$build/bin/uiclick.exe" "$@"; }
# After the picture, which waits for the window.
check_layout() {
  [ -n "${LAYOUT_CHECK:-}" ] || return 0
  { "$LAYOUT_CHECK" "$1" | sed "s/^/$2 ($dpi dpi): /"; } >> "$out/layout-check.txt" 2>&1 || true
}
shot() { tools/screenshot.sh "$1" "$out/$2.png" >/dev/null && echo "$out/$2.png" && check_layout "$1" "$2"; }
wait_for_main() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$main_title\$" >/dev/null 2>&1 && break
    sleep 0.2
  done
}

wine "$build/bin/stagetune.exe" >/dev/null 2>&1 &
program=$!
for _ in $(seq 100); do
  xdotool search --onlyvisible --name "^$main_title\$" >/dev/null 2>&1 && break
  # A new simulated board has a blank flash record: restore the defaults.
  click 'Flash error' 1 2>/dev/null || true
  sleep 0.2
done

# Unit modes on the X axis (a brushless servo on the simulated machine).
click "$main_title" 1250; shot "$main_title" main-mm
click "$main_title" 1252; shot "$main_title" main-inch
click "$main_title" 1253; shot "$main_title" main-as-stored
# The Q axis is a stepper: its rows differ; parameter numbers shown.
click "$main_title" 1250
click "$main_title" 1023
click "$main_title" 1301; shot "$main_title" main-stepper
# The Status and Power dialogs beside the main window.
click "$main_title" 1208; shot Status status
click Status 1206; shot Power power
click Power 1028; click Status 1028
# The GPIO dialog, pin 3 made an output and driven high.
click "$main_title" 1288
click GPIO 1923; click GPIO 1933; shot GPIO gpio
click GPIO 1028
# The motion tests: the bench, its Watch window, the circular goto.
click "$main_title" 1104; shot "Multi Axis Goto" multi-axis-goto
click "Multi Axis Goto" 1158; shot Watch watch
click Watch 1028; click "Multi Axis Goto" 1028
click "$main_title" 1105; shot "Circular goto" circular-goto
# One whole turn of 10 mm radius at 20 %, plotted from the board's trace.
click "Circular goto" 1685 20
click "Circular goto" 1224 360
click "Circular goto" 1686
sleep 9
tools/circle-plot.py "$AXBSIM_TRACE" "$out/circle.png"

# The Move Response window after a run of X at its defaults and one with D
# (P051) at a fifth; then D back and Q again.
click "$main_title" 1017
click "$main_title" 3700
click "Move Response" 3720; sleep 5
click "$main_title" 1011 120; click "$main_title" 1009
click "Move Response" 3720; sleep 5
shot "Move Response" move-response
click "Move Response" 3724
# The Scope window's capture of X going to 20 mm (triggered on its start).
click "$main_title" 3300
click Scope 3360
click "$main_title" 1137 20
click "$main_title" 1148
sleep 3
shot Scope scope-window
click Scope 3368
click "$main_title" 1011 600; click "$main_title" 1009
click "$main_title" 1023

# The zoom axis with its Home buttons, and the Zoom dialog beside it; then
# back to Q for the setup dialogs.
click "$main_title" 1025; shot "$main_title" main-zoom
click "$main_title" 1227; shot "Zoom Dialog" zoom
click "$main_title" 1023

# The setup dialogs, each opened from its main-window button (on Q, the
# stepper, with parameter numbers) and closed again. A modal dialog holds the
# click until it closes, so the click runs beside the capture.
setup_shot() {   # <button> <dialog title> <close id> <file>
  click "$main_title" "$1" & clicking=$!
  shot "$2" "$4"
  click "$2" "$3"
  wait "$clicking" || true
}
setup_shot 1223 'Motor Setup' 1028 motor-setup
setup_shot 1450 Calculator 1 calculator
setup_shot 1175 System 1028 system
setup_shot 1263 'Copy Settings' 1028 copy-settings
setup_shot 1192 'Track Ball' 1028 trackball
setup_shot 1237 'SW Fence' 1 sw-fence

# The Lamp Dialog of a machine whose lamps hang on the serial lamp box (the
# "Lamp RS232" flag of the record the first start stored), LUX400 rows shown.
click "$main_title" 1
wait "$program" || true
tools/sim-lamp-flag.sh "$AXBSIM_STATE" box
wine "$build/bin/stagetune.exe" >/dev/null 2>&1 &
wait_for_main
click "$main_title" 1234
click 'Lamp Dialog' 1513
shot 'Lamp Dialog' lamp
# Closed, so that no other title holding "Dialog" is captured below.
click 'Lamp Dialog' 1028

# The modal setup dialogs: the click returns once its wait runs out, with the
# dialog still open.
click "$main_title" 1017
click "$main_title" 1169 2>/dev/null || true; shot Encoder encoder
click Encoder 1
click "$main_title" 1231 2>/dev/null || true
# Auto-home X on its limit: enable it, then pick "Limit" from the list.
click 'User Parameters' 3110
up=$(xdotool search --onlyvisible --name '^User Parameters$' | head -n 1)
# The list opens under a click and "Limit" is its last item.
xdotool mousemove --window "$up" $((300 * dpi / 96)) $((168 * dpi / 96)) click 1 sleep 0.5 key Escape sleep 0.2 key End || true
shot 'User Parameters' user-parameters
click 'User Parameters' 1
click "$main_title" 1246 2>/dev/null &
for _ in $(seq 50); do click Autohome 1 2>/dev/null && break; sleep 0.2; done
shot Dialog auto-home-progress

# The Touch Probe dialog in tester mode ("TavRosenTester" in a settings file
# of its own), on the machine whose probe taps every 3 s, probe enabled and
# "Log" checked.
wineserver -k 2>/dev/null || true
mkdir -p "$state/tester/TavRosen/Settings"
printf '[stagetune]\r\nTavRosenTester=1\r\n' > "$state/tester/TavRosen/Settings/TavRosen.ini"
KRV_SETTINGS="$state/tester" AXBSIM_CONFIG="$PWD/sim/machines/probe-sphere.ini" \
  wine "$build/bin/stagetune.exe" >/dev/null 2>&1 &
wait_for_main
click "$main_title" 1667 & clicking=$!
sleep 2
click 'Touch Probe' 1666
click 'Touch Probe' 1679
shot 'Touch Probe' touch-probe
click 'Touch Probe' 2
wait "$clicking" || true

# The Joystick dialog in its five-button layout, the stick moving
# (sim/machines/five-button-joystick.ini), with parameter numbers shown.
wineserver -k 2>/dev/null || true
sleep 1
AXBSIM_CONFIG="$PWD/sim/machines/five-button-joystick.ini" wine "$build/bin/stagetune.exe" >/dev/null 2>&1 &
wait_for_main
click "$main_title" 1301
click "$main_title" 1173
sleep 1
shot Joystick joystick

# Compare: Y's P and D applied in millimetres, the board against flash.
wineserver -k 2>/dev/null || true
sleep 1
wine "$build/bin/stagetune.exe" >/dev/null 2>&1 &
wait_for_main
click "$main_title" 1250
click "$main_title" 1018
click "$main_title" 1010 77
click "$main_title" 1011 1234
click "$main_title" 1009
click "$main_title" 2401
shot Compare compare
