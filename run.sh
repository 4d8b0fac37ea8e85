#!/bin/bash
# Builds stagetune and starts it on the simulated board, with the log viewer
# and the lamp box stand-in beside it. Without a DISPLAY it starts Xvfb and
# writes a screenshot of the main window. Runs until interrupted (Ctrl+C).
#   ./run.sh NAME         the machine described by sim/machines/NAME.ini
#                         (single-marks, distance-coded), with a board state
#                         of its own; without NAME the factory machine
#   LAMP=board ./run.sh   the machine's lamps on the board's outputs instead
#                         of the serial lamp box (the default)
#   ZOOM=1|2|3|4 ./run.sh the zoom is that objective turret ("ZoomType"): 1 the
#                         Revolver_Dll.dll stand-in, 2 the turret box stand-in
#                         on COM3, 3 the turret on the board's GPIO pins (the
#                         machine gpio-turret unless NAME says otherwise), 4 the
#                         ObjTurret.dll stand-in
set -euo pipefail
cd "$(dirname "$0")"
machine=${1:-}
zoom=${ZOOM:-}
[ "$zoom" = 3 ] && [ -z "$machine" ] && machine=gpio-turret
if [ -n "$machine" ]; then
  if [ ! -f "sim/machines/$machine.ini" ]; then
    echo "no machine '$machine'; the machines are: $(cd sim/machines && ls *.ini | sed 's/\.ini$//' | tr '\n' ' ')" >&2
    exit 2
  fi
  export AXBSIM_CONFIG="$PWD/sim/machines/$machine.ini"
  # A board's flash wins over its description: each machine keeps its own.
  export AXBSIM_STATE=${AXBSIM_STATE:-$PWD/${BUILD_DIR:-build}/bin/AXB400-$machine.state}
fi
tools/install-deps.sh
build=${BUILD_DIR:-build}
# Relative to the tree, so that "$PWD/$build" also names an absolute BUILD_DIR.
mkdir -p "$build" && build=$(realpath --relative-to=. "$build")
lamp=${LAMP:-box}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" stagetune logview AXB400 lumaview lampbox uiclick
ninja -C "$build" ObjTurret Revolver_Dll

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:${XVFB_DISPLAY:-77}
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  headless=1
fi

export WINEPREFIX="$PWD/$build/wineprefix-desktop" WINEDEBUG=-all
board_state=${AXBSIM_STATE:-$PWD/$build/bin/AXB400.state}

# The program's "Comm Port" ([Lights] in its settings file, default 2) leads
# to the lamp box stand-in's pseudo-terminal.
settings="$WINEPREFIX/drive_c/users/Public/Documents/TavRosen/Settings/TavRosen.ini"
comm_port=$( { [ -f "$settings" ] && tr -d '\r' < "$settings" || true; } | awk -F= '
  /^\[/ { lights = tolower($0) == "[lights]" }
  lights && tolower($1) ~ /^[ \t]*comm port[ \t]*$/ { sub(/^[ \t]*/, "", $2); print $2 + 0; exit }')
comm_port=$(( ${comm_port:-2} & 255 ))
lampbox_dir="$PWD/$build/lampbox"
mkdir -p "$lampbox_dir"
tools/wine-prefix.sh "$WINEPREFIX" x11 "COM$comm_port=$lampbox_dir/com$comm_port"
# The turret kind goes into the settings file; the turret box stand-in hangs
# on COM3, the program's default "CommPort" of [Zoom].
if [ -n "$zoom" ]; then
  mkdir -p "$(dirname "$settings")"
  tools/ini-set.py "$settings" stagetune ZoomType "$zoom"
fi
turretbox_dir="$PWD/$build/turretbox"
if [ "$zoom" = 2 ]; then
  mkdir -p "$turretbox_dir"
  tools/ini-set.py "$settings" Zoom CommPort 3
  tools/wine-prefix.sh "$WINEPREFIX" x11 "COM3=$turretbox_dir/com3"
fi

stop() {
  wineserver -k 2>/dev/null || true
  [ -n "${lampbox_pid:-}" ] && kill "$lampbox_pid" 2>/dev/null || true
  [ -n "${turretbox_pid:-}" ] && kill "$turretbox_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT INT TERM

"$build/bin/lampbox" --link "$lampbox_dir/com$comm_port" --record "$lampbox_dir/record.txt" \
  --control "$lampbox_dir/control.txt" 2>/dev/null &
lampbox_pid=$!
if [ "$zoom" = 2 ]; then
  "$build/bin/lampbox" --device olympus --link "$turretbox_dir/com3" --record "$turretbox_dir/record.txt" \
    --control "$turretbox_dir/control.txt" 2>/dev/null &
  turretbox_pid=$!
  echo "the turret box stand-in is on COM3, its record in $turretbox_dir/record.txt"
fi

log_file="$PWD/$build/stagetune.log"
: > "$log_file"
wine "$build/bin/logview.exe" "$(winepath -w "$log_file")" >/dev/null 2>&1 &
for _ in $(seq 100); do xdotool search --name '^Tavrosen Log$' >/dev/null 2>&1 && break; sleep 0.1; done

start_program() {
  wine "$build/bin/stagetune.exe" >/dev/null 2>&1 &
  program=$!
}
# Nobody can answer on a display nobody sees: a new simulated board's
# "Flash error" prompt is answered with OK (restore the defaults).
answer_flash_prompt() {
  [ -n "${headless:-}" ] && wine "$build/bin/uiclick.exe" 'Flash error' 1 >/dev/null 2>&1 || true
}

if [ ! -f "$board_state" ]; then
  # A new board holds no record of the program yet, so no lamp flag either:
  # the first start stores the record ("Flash error", OK), then the program
  # starts again on the board with its lamps where LAMP says.
  echo "A new simulated board: stagetune stores its record in the board's flash, then starts again"
  start_program
  while kill -0 "$program" 2>/dev/null && [ ! -f "$board_state" ]; do answer_flash_prompt; sleep 0.2; done
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
fi
[ -f "$board_state" ] && tools/sim-lamp-flag.sh "$board_state" "$lamp"
start_program
echo "stagetune is running on the simulated board; the log is in $log_file"
echo "lamps: $lamp; the lamp box stand-in is on COM$comm_port, its record in $lampbox_dir/record.txt"
echo "  (tell it: echo silent|garbage|answer|drop|reconnect >> $lampbox_dir/control.txt)"

if [ -n "${headless:-}" ]; then
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^stagetune:4\.0\.0' >/dev/null 2>&1 && break
    answer_flash_prompt
    sleep 0.2
  done
  shot="$PWD/$build/screenshots/main.png"
  mkdir -p "$(dirname "$shot")"
  tools/screenshot.sh 'stagetune:4.0.0' "$shot" && echo "screenshot: $shot"
  if [ -n "$zoom" ]; then
    # The Zoom dialog (the main window's "Zoom") with the turret sent to 5.
    wine "$build/bin/uiclick.exe" 'stagetune:4.0.0 2021 August 12' 1227 >/dev/null 2>&1 || true
    sleep 1
    wine "$build/bin/uiclick.exe" 'Zoom Dialog' 1400 >/dev/null 2>&1 || true
    sleep 3
    tools/screenshot.sh 'Zoom Dialog' "$PWD/$build/screenshots/zoom-turret-$zoom.png" &&
      echo "screenshot: $PWD/$build/screenshots/zoom-turret-$zoom.png"
  fi
fi
wait "$program"
