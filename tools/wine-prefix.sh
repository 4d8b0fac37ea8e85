#!/bin/bash
# Prepares a Wine prefix and starts its wineserver, so that programs start in
# a fraction of a second.
#   tools/wine-prefix.sh <prefix> null|x11 [COMn=/unix/path ...]
# "null" selects Wine's null display driver (tests need no X server); "x11"
# the real display, with managed windows off so hidden top-level windows do
# not wait for a window manager. Each COMn=path maps that COM port to a
# device, such as the link a serial device stand-in keeps to its
# pseudo-terminal.
set -euo pipefail
prefix=$1
display=${2:-null}
shift 2 || shift $#
export WINEPREFIX=$prefix WINEDEBUG=-all

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  wineboot --init </dev/null >/dev/null 2>&1 || true
  wineserver -w
fi

wineserver -p </dev/null >/dev/null 2>&1 || true
if [ "$display" = null ]; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
else
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
fi
for mapping in "$@"; do
  wine reg add 'HKLM\Software\Wine\Ports' /v "${mapping%%=*}" /t REG_SZ /d "${mapping#*=}" /f </dev/null >/dev/null 2>&1
done
# A desktop process started before the display setting changed would keep
# the old one, and the COM ports are mapped when the server starts: restart
# the server so the settings take effect.
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1 || true

# Wine starts its desktop process for the first program that needs one; that
# process inherits the program's output pipe and outlives it by a second,
# which makes CTest wait a second per test (or for ever while any other
# program runs). A long-lived windowed program started here, detached, owns
# the desktop instead. Only the tests need it.
keeper_running() {
  local pid
  for pid in $(pgrep -f 'notepad.exe' || true); do
    { tr '\0' '\n' < "/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && return 0
  done
  return 1
}
if [ "$display" = null ] && ! keeper_running; then
  setsid wine notepad.exe </dev/null >/dev/null 2>&1 &
  for _ in $(seq 50); do
    pgrep -f 'explorer.exe /desktop' >/dev/null && break
    sleep 0.1
  done
fi
